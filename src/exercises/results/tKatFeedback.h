#pragma once

#include "core/results/DailyResults.h"
#include "exercises/results/tFeedbackPanel.h"

namespace gf {

// The working-memory page of the daily results: percent right per level (Stufe I..IV)
// today and earlier, for the word and the picture search, with the numbers of
// exercises. It only draws; one drawing routine serves screen, printer and images.
class tKatFeedback final : public tFeedbackPanel
{
    Q_OBJECT

public:
    explicit tKatFeedback(QWidget* parent = nullptr);

    // Height of a text line; every drawing sets it to the drawing height / 30.
    quint16 LineHeight() const { return m_lineHeight; }
    void setLineHeight(quint16 v);

    // Set by the daily results before drawing.
    tKatValues Data;
    double FontScale = 1.0;

protected:
    double fontFactor() const override { return FontScale; }
    void drawContent(PanelCanvas& c, const QRect& area, double scale, bool printing) override;

private:
    quint16 m_lineHeight = 20;
};

} // namespace gf
