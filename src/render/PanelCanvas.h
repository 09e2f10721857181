#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPaintDevice>
#include <QPainter>
#include <QPaintEngine>
#include <QPen>
#include <QRegion>

#include <algorithm>
#include <cmath>
#include <functional>

namespace gf {

// Told of every text the program paints itself: where (in the painter's device), in which
// colour and font, the area of the painter (its widget) and the part of the device it may
// paint on, so that a check can measure it against what lies beneath.
inline std::function<void(const QRect&, const QColor&, const QFont&, const QRect&, const QRect&)>
    textWatch;

inline void tellTextWatch(QPainter& p, const QRect& drawn)
{
    const QRect area = p.deviceTransform().mapRect(p.window());
    const QRegion clip = p.paintEngine() ? p.paintEngine()->systemClip() : QRegion();
    textWatch(p.deviceTransform().mapRect(drawn), p.pen().color(), p.font(), area,
              clip.isEmpty() ? area : clip.boundingRect());
}

// Draws s with its baseline at (x, y) and tells textWatch.
inline void drawWatchedText(QPainter& p, int x, int y, const QString& s)
{
    p.drawText(x, y, s);
    if (textWatch) {
        const QFontMetrics fm(p.font(), p.device());
        tellTextWatch(p, QRect(x, y - fm.ascent(), fm.horizontalAdvance(s), fm.height()));
    }
}

inline void drawWatchedText(QPainter& p, const QRect& r, int flags, const QString& s)
{
    QRect drawn;
    p.drawText(r, flags, s, &drawn);
    if (textWatch && !s.isEmpty())
        tellTextWatch(p, drawn);
}

// Text and lines for the results panels: texts are placed by their top-left corner,
// font sizes are points times the panel's scale, and every size used is noted so a
// drawing can be checked.
class PanelCanvas
{
public:
    PanelCanvas(QPainter& painter, const QString& family, double factor, bool printing)
        : p(painter), m_family(family), m_factor(factor), m_printing(printing)
    {
        // Pens are given in screen pixels; paper gets the same physical width.
        const int dpi = painter.device() ? painter.device()->logicalDpiX() : 96;
        m_penScale = printing ? std::max(1.0, dpi / 96.0) : 1.0;
    }

    QPainter& p;

    // Selects the font of size `points` x factor (at least 1 point).
    void font(int points, bool bold = false)
    {
        QFont f(m_family);
        const int size = std::max(1, int(std::lround(m_factor * points)));
        f.setPointSize(size);
        f.setBold(bold);
        // Paper is black and white: no coloured fringes.
        if (m_printing)
            f.setStyleStrategy(QFont::NoSubpixelAntialias);
        p.setFont(f);
        sizes.append(size);
    }
    QFontMetrics metrics() const { return QFontMetrics(p.font(), p.device()); }
    int width(const QString& text) const { return metrics().horizontalAdvance(text); }
    int height(const QString& text) const { return metrics().boundingRect(text).height(); }
    // Height of a line of text in the current font.
    int lineHeight() const { return metrics().height(); }

    void text(int x, int top, const QString& s, const QColor& colour)
    {
        p.setPen(colour);
        drawWatchedText(p, x, top + metrics().ascent(), s);
    }
    void textRight(int right, int top, const QString& s, const QColor& colour)
    {
        text(right - width(s), top, s, colour);
    }
    // Centred horizontally on x and vertically on y.
    void textCentred(int x, int y, const QString& s, const QColor& colour)
    {
        const QFontMetrics fm = metrics();
        text(x - fm.horizontalAdvance(s) / 2, y - fm.height() / 2, s, colour);
    }

    QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine) const
    {
        QPen pen(colour, width * m_penScale, style);
        pen.setCapStyle(Qt::FlatCap);
        return pen;
    }
    double penScale() const { return m_penScale; }
    bool printing() const { return m_printing; }

    QList<int> sizes; // every font size selected, in order

private:
    QString m_family;
    double m_factor;
    bool m_printing;
    double m_penScale = 1.0;
};

} // namespace gf
