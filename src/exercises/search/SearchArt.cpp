#include "exercises/search/SearchArt.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace gf {

namespace searchart {

namespace {

const QColor Ink(40, 44, 52);

// A sheet of paper with lines of print; `shown` is how much of it has left the machine.
void drawSheet(QPainter& p, const QRectF& sheet, double printedUpTo)
{
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(90, 90, 100), 2.2, Qt::SolidLine, Qt::RoundCap));
    const double left = sheet.left() + 6;
    for (double y = sheet.top() + 6; y < printedUpTo - 2; y += 5.5) {
        // a picture-like block on the first lines, then text of varying length
        const bool block = y < sheet.top() + 18;
        const double right = block ? left + 16 : sheet.right() - 6 - std::fmod(y * 7.0, 14.0);
        if (block) {
            p.fillRect(QRectF(left, y - 1, 16, 4.5), QColor(90, 90, 100));
            p.drawLine(QPointF(left + 21, y + 1), QPointF(sheet.right() - 6, y + 1));
        } else {
            p.drawLine(QPointF(left, y), QPointF(right, y));
        }
    }
}

} // namespace

QPixmap faxFramePixmap(int frame, QSize size)
{
    frame = std::clamp(frame, 1, FaxFrameCount);
    QPixmap pixmap(size.isEmpty() ? QSize(128, 128) : size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(pixmap.width() / 128.0, pixmap.height() / 128.0);

    // The paper waiting at the back.
    p.save();
    p.translate(64, 40);
    p.rotate(-12);
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(-26, -30, 52, 34));
    p.restore();

    // The body.
    QPainterPath body;
    body.moveTo(12, 94);
    body.lineTo(20, 44);
    body.lineTo(108, 44);
    body.lineTo(116, 94);
    body.closeSubpath();
    p.setPen(QPen(Ink, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(214, 216, 210));
    p.drawPath(body);
    p.setBrush(QColor(176, 182, 190));
    p.drawRoundedRect(QRectF(12, 88, 104, 12), 3, 3);

    // The handset on the left.
    p.setBrush(QColor(70, 74, 84));
    p.drawRoundedRect(QRectF(20, 48, 16, 38), 6, 6);

    // Display and keys.
    p.setBrush(QColor(150, 200, 160));
    p.drawRect(QRectF(44, 52, 34, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 74, 84));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawRoundedRect(QRectF(84 + col * 8, 52 + row * 9, 6, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(44, 70, 34, 6), 2, 2);

    // The lamp: lit while a fax comes in.
    p.setPen(QPen(Ink, 1.2));
    p.setBrush(frame == 1 ? QColor(110, 110, 110) : QColor(60, 220, 60));
    p.drawEllipse(QPointF(48, 83), 3.2, 3.2);

    // The sheet coming out of the slot at the front.
    const double out[FaxFrameCount] = {3, 15, 27};
    const QRectF sheet(34, 94, 60, out[frame - 1]);
    p.setPen(QPen(Ink, 2));
    p.drawLine(QPointF(30, 94), QPointF(98, 94));
    drawSheet(p, sheet, sheet.bottom());
    return pixmap;
}

void drawMarker(QPainter& p, const QRectF& box, Marker marker)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(box.width(), box.height());
    const QRectF r(box.center().x() - s / 2, box.center().y() - s / 2, s, s);
    const double stroke = std::max(2.0, s * 0.15);
    switch (marker) {
    case Marker::Right: {
        p.setPen(QPen(Qt::white, std::max(1.5, s * 0.06)));
        p.setBrush(QColor(0, 170, 0));
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        QPainterPath tick;
        tick.moveTo(r.left() + s * 0.25, r.top() + s * 0.52);
        tick.lineTo(r.left() + s * 0.43, r.top() + s * 0.70);
        tick.lineTo(r.left() + s * 0.76, r.top() + s * 0.32);
        p.setPen(QPen(Qt::white, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        break;
    }
    case Marker::Wrong: {
        p.setPen(QPen(Qt::white, std::max(1.5, s * 0.06)));
        p.setBrush(QColor(215, 0, 0));
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        p.setPen(QPen(Qt::white, stroke, Qt::SolidLine, Qt::RoundCap));
        const double a = s * 0.31;
        const double b = s * 0.69;
        p.drawLine(QPointF(r.left() + a, r.top() + a), QPointF(r.left() + b, r.top() + b));
        p.drawLine(QPointF(r.left() + b, r.top() + a), QPointF(r.left() + a, r.top() + b));
        break;
    }
    case Marker::Sought: {
        // A broad arrow pointing right, at the word that was sought.
        QPainterPath arrow;
        const double l = r.left() + s * 0.04, m = r.left() + s * 0.52, e = r.right() - s * 0.02;
        const double cy = r.center().y();
        arrow.moveTo(l, cy - s * 0.17);
        arrow.lineTo(m, cy - s * 0.17);
        arrow.lineTo(m, cy - s * 0.42);
        arrow.lineTo(e, cy);
        arrow.lineTo(m, cy + s * 0.42);
        arrow.lineTo(m, cy + s * 0.17);
        arrow.lineTo(l, cy + s * 0.17);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::white, std::max(1.5, s * 0.06), Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
        p.setBrush(QColor(0, 255, 255));
        p.drawPath(arrow);
        break;
    }
    }
    p.restore();
}

} // namespace searchart

TMarker::TMarker(searchart::Marker marker, QWidget* parent) : QWidget(parent), m_marker(marker)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void TMarker::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    searchart::drawMarker(p, QRectF(rect()), m_marker);
}

TStagePicture::TStagePicture(const QColor& background, QWidget* parent)
    : QWidget(parent), m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TStagePicture::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    update();
}

void TStagePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    if (m_picture.isNull())
        return;
    if (m_picture.size() == size()) {
        p.drawPixmap(0, 0, m_picture);
    } else {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawPixmap(rect(), m_picture);
    }
}

void TStagePicture::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QWidget::mousePressEvent(event);
}

TFaxFrame::TFaxFrame(int frame, const QColor& background, QWidget* parent)
    : TStagePicture(background, parent), m_frame(frame)
{
    setCursor(Qt::PointingHandCursor);
}

void TFaxFrame::resizeEvent(QResizeEvent* event)
{
    TStagePicture::resizeEvent(event);
    // Drawn at the size it is shown at, so a frame change is a plain copy.
    setPicture(searchart::faxFramePixmap(m_frame, size()));
}

} // namespace gf
