#include "exercises/results/tFeedbackPanel.h"

#include <QPaintEvent>
#include <QScopeGuard>

namespace gf {

tFeedbackPanel::tFeedbackPanel(QWidget* parent, const QColor& textColor)
    : QFrame(parent), m_textColor(textColor)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void tFeedbackPanel::setLeftFrame(quint16 v)
{
    m_leftFrame = v;
    update();
}

void tFeedbackPanel::setRightFrame(quint16 v)
{
    m_rightFrame = v;
    update();
}

void tFeedbackPanel::setTextColor(const QColor& c)
{
    m_textColor = c;
    update();
}

void tFeedbackPanel::setColor(const QColor& c)
{
    m_color = c;
    update();
}

void tFeedbackPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Draw(painter, 0, 0, width(), height(), false);
}

QImage tFeedbackPanel::renderImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_color);
    QPainter painter(&image);
    Draw(painter, 0, 0, size.width(), size.height(), false);
    return image;
}

bool tFeedbackPanel::PrintTo(QPainter& painter, int left, int top, int right, int bottom)
{
    if (!painter.isActive() || !painter.device())
        return false;
    return Draw(painter, left, top, right, bottom, true, painter.device()->width());
}

bool tFeedbackPanel::Draw(QPainter& painter, int left, int top, int right, int bottom,
                          bool printing, int pageWidth)
{
    // A print started from a paint (or the reverse) must not draw over itself.
    if (m_busy)
        return false;
    m_busy = true;
    m_printing = printing;
    painter.save();
    const auto done = qScopeGuard([&] {
        painter.restore();
        m_busy = false;
    });

    const double scale = printing && pageWidth > 0 ? double(right - left) / pageWidth : 1.0;
    PanelCanvas c(painter, font().family(), fontFactor() * scale, printing);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)),
                     printing ? QColor(Qt::white) : m_color);

    drawContent(c, QRect(QPoint(left, top), QPoint(right, bottom)), scale, printing);
    m_fontSizes = c.sizes;
    return true;
}

} // namespace gf
