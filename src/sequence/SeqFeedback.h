#pragma once

#include "results/DailyResults.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QList>

class QPainter;

namespace gf {

// The memory-span page of the daily results: per mode a scale of lengths for the
// telephone switchboard and one for the memo protocol, each with the best length before
// today (a circle), the secure length before today (grey line) and today (blue line).
// It only draws; one drawing routine serves screen, printer and images.
class SeqFeedback final : public QFrame
{
    Q_OBJECT

public:
    explicit SeqFeedback(QWidget* parent = nullptr);

    // Line pitch and the gap between the two result lines; every drawing sets them to
    // drawing height / 32 and LineHeight / 3.
    quint16 LineHeight() const { return m_lineHeight; }
    void SetLineHeight(quint16 v);
    quint16 LineDistance() const { return m_lineDistance; }
    void SetLineDistance(quint16 v);
    quint16 LeftFrame() const { return m_leftFrame; }
    void SetLeftFrame(quint16 v);
    quint16 RightFrame() const { return m_rightFrame; }
    void SetRightFrame(quint16 v);
    quint16 CircleRadius() const { return m_circleRadius; }
    void SetCircleRadius(quint16 v);
    // Colour of every text.
    QColor TextColor() const { return m_textColor; }
    void SetTextColor(const QColor& c) { m_textColor = c; }
    // Background on screen.
    QColor Color() const { return m_color; }
    void SetColor(const QColor& c);

    // Set by the daily results before drawing.
    tSeqValues Data;
    double FontFactor = 1.0;

    bool Printing() const { return m_printing; }

    // Draws into a rectangle of a page; fonts follow the share of the page width the
    // rectangle takes. False when a drawing is already running or the painter is idle.
    bool PrintTo(QPainter& painter, int left, int top, int right, int bottom);
    // The one drawing routine. False when a drawing is already running.
    bool Draw(QPainter& painter, int left, int top, int right, int bottom, bool printing,
              int pageWidth = 0);
    // The panel at `size`, drawn as on screen.
    QImage RenderImage(const QSize& size);

    // Font sizes (points) of the last drawing, in the order they were chosen.
    const QList<int>& LastFontSizes() const { return m_fontSizes; }
    // Centres of the best-length circles of the last drawing, mode by mode
    // (telephone, then memo); none where no circle was drawn.
    const QList<QPoint>& LastCircles() const { return m_circles; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    quint16 m_lineHeight = 12;
    quint16 m_lineDistance = 5;
    quint16 m_leftFrame = 30;
    quint16 m_rightFrame = 30;
    quint16 m_circleRadius = 15;
    QColor m_textColor{Qt::black};
    QColor m_color{Qt::black};
    bool m_printing = false;
    bool m_busy = false;
    QList<int> m_fontSizes;
    QList<QPoint> m_circles;
};

} // namespace gf
