#include "toolkit/TSkinButton.h"

#include "render/PanelCanvas.h"
#include "toolkit/Look.h"

#include <QPainter>
#include <QStyle>

namespace gf {

TSkinButton::TSkinButton(const QString& caption, QSize size, QWidget* parent)
    : QAbstractButton(parent), m_face(look::statusBar()), m_caption(Qt::white)
{
    setText(caption);
    setFixedSize(size);
    setFont(look::arial(19, true));
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TSkinButton::setFaces(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed)
{
    m_pictures[Normal] = normal;
    m_pictures[Hover] = hover;
    m_pictures[Pressed] = pressed;
    update();
}

void TSkinButton::setFaceColour(const QColor& colour)
{
    m_face = colour;
    update();
}

void TSkinButton::setCaptionColour(const QColor& colour)
{
    m_caption = colour;
    update();
}

TSkinButton::State TSkinButton::state() const
{
    if (isDown())
        return Pressed;
    if (underMouse() && isEnabled())
        return Hover;
    return Normal;
}

bool TSkinButton::isSkinned(const QWidget* widget)
{
    return qobject_cast<const TSkinButton*>(widget) != nullptr;
}

void TSkinButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const State s = state();

    if (!m_pictures[s].isNull() || !m_pictures[Normal].isNull()) {
        const QPixmap& pic = m_pictures[s].isNull() ? m_pictures[Normal] : m_pictures[s];
        p.drawPixmap(rect(), pic);
    } else {
        QColor face = m_face;
        if (s == Hover)
            face = face.lighter(125);
        else if (s == Pressed)
            face = face.darker(120);
        if (!isEnabled())
            face = face.darker(140);
        const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
        const qreal radius = qMin<qreal>(8.0, r.height() / 4);
        QLinearGradient grad(r.topLeft(), r.bottomLeft());
        grad.setColorAt(0, face.lighter(s == Pressed ? 95 : 118));
        grad.setColorAt(1, face.darker(s == Pressed ? 95 : 112));
        p.setBrush(grad);
        p.setPen(QPen(s == Hover || hasFocus() ? QColor(255, 255, 255, 200) : face.darker(150),
                      s == Hover || hasFocus() ? 2.0 : 1.5));
        p.drawRoundedRect(r, radius, radius);
    }

    if (look::lowVision() && hasFocus())
        look::drawFocusFrame(p, rect());

    QRect textRect = rect().adjusted(6, 2, -6, -2);
    if (s == Pressed)
        textRect.translate(1, 1);
    p.setFont(font());
    p.setPen(isEnabled() ? m_caption : m_caption.darker(160));
    drawWatchedText(p, textRect, Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic,
                    text());
}

} // namespace gf
