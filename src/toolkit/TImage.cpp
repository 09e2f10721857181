#include "toolkit/TImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace gf {

TImage::TImage(QWidget* parent) : QWidget(parent) {}

bool TImage::load(const QString& path)
{
    QPixmap pic;
    const bool ok = !path.isEmpty() && pic.load(path);
    setPicture(ok ? pic : QPixmap());
    return ok;
}

bool TImage::loadFitted(const QString& path)
{
    if (!load(path))
        return false;
    setPicture(m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return true;
}

void TImage::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
    update();
}

void TImage::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void TImage::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    if (m_autoSize && !m_picture.isNull())
        resize(m_picture.size());
}

void TImage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    // a picture that cannot be clicked now shows faded against what is behind it
    if (!isEnabled())
        p.setOpacity(0.35);
    if (m_stretch)
        p.drawPixmap(rect(), m_picture);
    else
        p.drawPixmap(0, 0, m_picture);
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

} // namespace gf
