#include "toolkit/TPushButton.h"

#include "render/PanelCanvas.h"
#include "toolkit/Look.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace gf {

TPushButton::TPushButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_face(look::buttonFace())
{
    setFont(look::arial(13, true));
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
}

void TPushButton::setFaceColour(const QColor& colour)
{
    m_face = colour;
    update();
}

void TPushButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);

    // The low-vision look marks the focus by a dark face with light text: a thin frame
    // changes too little to be seen.
    const bool darkFocus = look::lowVision() && hasFocus();
    QColor face = darkFocus ? QColor(16, 44, 74) : m_face;
    if (!isEnabled())
        face = face.darker(115);
    else if (isDown() || isChecked())
        face = face.darker(118);
    else if (underMouse())
        face = face.lighter(108);

    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(4.0, r.height() / 4);
    QLinearGradient grad(r.topLeft(), r.bottomLeft());
    grad.setColorAt(0, face.lighter(isDown() ? 100 : 106));
    grad.setColorAt(1, face.darker(isDown() ? 100 : 106));
    p.setBrush(grad);
    const bool strong = isDefault() || hasFocus();
    p.setPen(QPen(m_face.darker(strong ? 210 : 150), strong ? 2.0 : 1.0));
    p.drawRoundedRect(strong ? r.adjusted(0.5, 0.5, -0.5, -0.5) : r, radius, radius);

    QRect textRect = rect().adjusted(4, 0, -4, 0);
    if (isDown())
        textRect.translate(1, 1);
    p.setPen(darkFocus    ? QColor(Qt::white)
             : isEnabled() ? QColor(Qt::black)
                           : look::pick(QColor(110, 110, 110), QColor(60, 60, 60)));
    p.setFont(font());
    drawWatchedText(p, textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

} // namespace gf
