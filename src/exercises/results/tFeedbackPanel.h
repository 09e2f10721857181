#pragma once

#include "render/PanelCanvas.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QList>

class QPainter;

namespace gf {

// What the two pages of the daily results share: frames and colours, and one drawing
// routine for screen, printer and images that a page fills with its own content.
class tFeedbackPanel : public QFrame
{
    Q_OBJECT

public:
    quint16 LeftFrame() const { return m_leftFrame; }
    void setLeftFrame(quint16 v);
    quint16 RightFrame() const { return m_rightFrame; }
    void setRightFrame(quint16 v);
    // Colour of the texts on screen.
    QColor TextColor() const { return m_textColor; }
    void setTextColor(const QColor& c);
    // Background on screen.
    QColor Color() const { return m_color; }
    void setColor(const QColor& c);

    bool Printing() const { return m_printing; }

    // Draws into a rectangle of a page; fonts follow the share of the page width the
    // rectangle takes. False when a drawing is already running or the painter is idle.
    bool PrintTo(QPainter& painter, int left, int top, int right, int bottom);
    // The one drawing routine. False when a drawing is already running.
    bool Draw(QPainter& painter, int left, int top, int right, int bottom, bool printing,
              int pageWidth = 0);
    // The panel at `size`, drawn as on screen.
    QImage renderImage(const QSize& size);

    // Font sizes (points) of the last drawing, in the order they were chosen.
    const QList<int>& lastFontSizes() const { return m_fontSizes; }

protected:
    tFeedbackPanel(QWidget* parent, const QColor& textColor);

    // The program-wide factor on every font size.
    virtual double fontFactor() const = 0;
    // Draws the page onto its cleared background; `scale` is 1 on screen and the share of
    // the page width when printing.
    virtual void drawContent(PanelCanvas& c, const QRect& area, double scale, bool printing) = 0;

    void paintEvent(QPaintEvent* event) override;

private:
    quint16 m_leftFrame = 30;
    quint16 m_rightFrame = 30;
    QColor m_textColor;
    QColor m_color{Qt::black};
    bool m_printing = false;
    bool m_busy = false;
    QList<int> m_fontSizes;
};

} // namespace gf
