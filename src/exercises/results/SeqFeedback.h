#pragma once

#include "core/results/DailyResults.h"
#include "exercises/results/tFeedbackPanel.h"

namespace gf {

// The memory-span page of the daily results: per mode a scale of lengths for the
// telephone switchboard and one for the memo protocol, each with the best length before
// today (a circle), the secure length before today (grey line) and today (blue line).
// It only draws; one drawing routine serves screen, printer and images.
class SeqFeedback final : public tFeedbackPanel
{
    Q_OBJECT

public:
    explicit SeqFeedback(QWidget* parent = nullptr);

    // Line pitch and the gap between the two result lines; every drawing sets them to
    // drawing height / 32 and LineHeight / 3.
    quint16 LineHeight() const { return m_lineHeight; }
    void setLineHeight(quint16 v);
    quint16 LineDistance() const { return m_lineDistance; }
    void setLineDistance(quint16 v);
    quint16 CircleRadius() const { return m_circleRadius; }
    void setCircleRadius(quint16 v);

    // Set by the daily results before drawing.
    tSeqValues Data;
    double FontFactor = 1.0;

    // Centres of the best-length circles of the last drawing, mode by mode
    // (telephone, then memo); none where no circle was drawn.
    const QList<QPoint>& lastCircles() const { return m_circles; }

protected:
    double fontFactor() const override { return FontFactor; }
    void drawContent(PanelCanvas& c, const QRect& area, double scale, bool printing) override;

private:
    struct Page;
    // The sections of drawContent: a mode's two scales, their lines, the legend.
    int drawModeBlock(const Page& pg, int mode, int y);
    void drawSafeLine(const Page& pg, double value, int atY, const QPen& pen);
    void drawScaleRow(const Page& pg, int y, int from, const QString& name, int countToday,
                      double countEarlier, qint32 best);
    void drawLegend(const Page& pg, int y, bool printing);

    quint16 m_lineHeight = 12;
    quint16 m_lineDistance = 5;
    quint16 m_circleRadius = 15;
    QList<QPoint> m_circles;
};

} // namespace gf
