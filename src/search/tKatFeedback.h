#pragma once

#include "results/DailyResults.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QList>

class QPainter;

namespace gf {

// The working-memory page of the daily results: percent right per level (Stufe I..IV)
// today and earlier, for the word and the picture search, with the numbers of
// exercises. It only draws; one drawing routine serves screen, printer and images.
class tKatFeedback final : public QFrame
{
    Q_OBJECT

public:
    explicit tKatFeedback(QWidget* parent = nullptr);

    // Height of a text line; every drawing sets it to the drawing height / 30.
    quint16 LineHeight() const { return m_lineHeight; }
    void SetLineHeight(quint16 v);
    quint16 LeftFrame() const { return m_leftFrame; }
    void SetLeftFrame(quint16 v);
    quint16 RightFrame() const { return m_rightFrame; }
    void SetRightFrame(quint16 v);
    // Colour of the labels on screen.
    QColor TextColor() const { return m_textColor; }
    void SetTextColor(const QColor& c);
    // Background on screen.
    QColor Color() const { return m_color; }
    void SetColor(const QColor& c);

    // Set by the daily results before drawing.
    tKatValues Data;
    double FontScale = 1.0;

    bool Printing() const { return m_printing; }

    // Draws into a rectangle of a page; fonts follow the share of the page width the
    // rectangle takes. False when a drawing is already running or the painter is idle.
    bool PrintTo(QPainter& painter, int x1, int y1, int x2, int y2);
    // The one drawing routine. False when a drawing is already running.
    bool Draw(QPainter& painter, int x1, int y1, int x2, int y2, bool printing, int pageWidth = 0);
    // The panel at `size`, drawn as on screen.
    QImage RenderImage(const QSize& size);

    // Font sizes (points) of the last drawing, in the order they were chosen.
    const QList<int>& LastFontSizes() const { return m_fontSizes; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    quint16 m_lineHeight = 20;
    quint16 m_leftFrame = 30;
    quint16 m_rightFrame = 30;
    QColor m_textColor{0, 0, 128};
    QColor m_color{Qt::black};
    bool m_printing = false;
    bool m_busy = false;
    QList<int> m_fontSizes;
};

} // namespace gf
