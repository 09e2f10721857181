#include "shell/TOwnFenster.h"

#include "render/PanelCanvas.h"
#include "toolkit/Look.h"

#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <functional>

namespace gf {

namespace {

const QColor kOuter(10, 30, 52);      // outermost line of the frame
const QColor kLight(118, 172, 212);   // light catch on the upper and left outer edge
const QColor kShade(20, 52, 86);      // shade on the lower and right outer edge
const QColor kInner(16, 44, 74);      // line around the contents
const QColor kBarTop(64, 134, 186);   // caption bar, upper end
const QColor kFill(30, 82, 128);      // caption bar lower end and the edges
const QColor kCaption(200, 250, 230); // caption text

// The caption bar shades from kBarTop to kFill over its 47 rows, so every top piece
// shares one gradient and the tiles meet without seams.
void fillBar(QPainter& p, int w)
{
    QLinearGradient g(0, 0, 0, 47);
    g.setColorAt(0.0, kBarTop);
    g.setColorAt(1.0, kFill);
    p.fillRect(0, 0, w, 47, g);
}

QPixmap piece(int w, int h, const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(w, h);
    pm.fill(kFill);
    QPainter p(&pm);
    draw(p);
    return pm;
}

void hline(QPainter& p, int x1, int x2, int y, const QColor& c)
{
    p.setPen(c);
    p.drawLine(x1, y, x2, y);
}

void vline(QPainter& p, int x, int y1, int y2, const QColor& c)
{
    p.setPen(c);
    p.drawLine(x, y1, x, y2);
}

void drawCloseBox(QPainter& p, const QRect& r)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(236, 244, 250));
    g.setColorAt(1.0, QColor(190, 212, 232));
    p.setPen(QPen(kOuter, 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    p.setPen(QPen(kInner, 2, Qt::SolidLine, Qt::RoundCap));
    const QRectF x = QRectF(r).adjusted(5, 5, -5, -5);
    p.drawLine(x.topLeft(), x.bottomRight());
    p.drawLine(x.topRight(), x.bottomLeft());
    p.setRenderHint(QPainter::Antialiasing, false);
}

} // namespace

std::array<QPixmap, 8> TOwnFenster::makePictures()
{
    std::array<QPixmap, 8> pics;
    pics[TopLeft] = piece(24, 47, [](QPainter& p) {
        fillBar(p, 24);
        hline(p, 0, 23, 0, kOuter);
        vline(p, 0, 0, 46, kOuter);
        hline(p, 1, 23, 1, kLight);
        vline(p, 1, 1, 46, kLight);
        hline(p, 22, 23, 46, kInner);
        vline(p, 22, 46, 46, kInner);
    });
    pics[Top] = piece(135, 47, [](QPainter& p) {
        fillBar(p, 135);
        hline(p, 0, 134, 0, kOuter);
        hline(p, 0, 134, 1, kLight);
        hline(p, 0, 134, 46, kInner);
    });
    pics[TopRight] = piece(135, 47, [](QPainter& p) {
        fillBar(p, 135);
        hline(p, 0, 134, 0, kOuter);
        hline(p, 0, 133, 1, kLight);
        vline(p, 134, 0, 46, kOuter);
        vline(p, 133, 1, 46, kShade);
        hline(p, 0, 112, 46, kInner);
        vline(p, 112, 46, 46, kInner);
        // The close box sits 42 pixels from the right edge of the window.
        drawCloseBox(p, QRect(135 - 42, 18, 17, 17));
    });
    pics[Left] = piece(23, 47, [](QPainter& p) {
        vline(p, 0, 0, 46, kOuter);
        vline(p, 1, 0, 46, kLight);
        vline(p, 22, 0, 46, kInner);
    });
    pics[Right] = piece(23, 47, [](QPainter& p) {
        vline(p, 0, 0, 46, kInner);
        vline(p, 21, 0, 46, kShade);
        vline(p, 22, 0, 46, kOuter);
    });
    pics[Bottom] = piece(159, 24, [](QPainter& p) {
        hline(p, 0, 158, 0, kInner);
        hline(p, 0, 158, 22, kShade);
        hline(p, 0, 158, 23, kOuter);
    });
    pics[BottomLeft] = piece(23, 24, [](QPainter& p) {
        vline(p, 0, 0, 23, kOuter);
        vline(p, 1, 0, 22, kLight);
        vline(p, 22, 0, 0, kInner);
        hline(p, 22, 22, 0, kInner);
        hline(p, 1, 22, 22, kShade);
        hline(p, 0, 22, 23, kOuter);
    });
    pics[BottomRight] = piece(23, 24, [](QPainter& p) {
        hline(p, 0, 0, 0, kInner);
        vline(p, 21, 0, 22, kShade);
        vline(p, 22, 0, 23, kOuter);
        hline(p, 0, 21, 22, kShade);
        hline(p, 0, 22, 23, kOuter);
    });
    return pics;
}

TOwnFenster::TOwnFenster(AppContext& ctx, QWidget* parent)
    : TWindow(ctx, parent), m_pictures(makePictures())
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

QRect TOwnFenster::closeBoxRect() const
{
    return QRect(width() - 42, 18, 17, 17);
}

void TOwnFenster::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    p.fillRect(rect(), kFill);

    for (int x = 24; x < w - 135; x += 135)
        p.drawPixmap(x, 0, m_pictures[Top]);
    for (int y = 47; y < h - 24; y += 47) {
        p.drawPixmap(0, y, m_pictures[Left]);
        p.drawPixmap(w - 23, y, m_pictures[Right]);
    }
    for (int x = 23; x < w - 23; x += 159)
        p.drawPixmap(x, h - 24, m_pictures[Bottom]);
    p.drawPixmap(0, 0, m_pictures[TopLeft]);
    p.drawPixmap(w - 135, 0, m_pictures[TopRight]);
    p.drawPixmap(0, h - 24, m_pictures[BottomLeft]);
    p.drawPixmap(w - 23, h - 24, m_pictures[BottomRight]);

    QFont f(QStringLiteral("Arial"));
    f.setBold(true);
    f.setPixelSize(16); // 12 points at 96 pixels per inch, whatever the screen says
    p.setFont(f);
    p.setPen(look::pick(kCaption, Qt::white));
    const QRect captionRect(27, 19, qMax(0, w - 42 - 8 - 27), 47 - 19);
    drawWatchedText(p, captionRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    p.fontMetrics().elidedText(windowTitle(), Qt::ElideRight, captionRect.width()));
}

void TOwnFenster::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(event);
        return;
    }
    if (closeBoxRect().contains(event->position().toPoint())) {
        reject();
        return;
    }
    // The window manager moves the window where it can; elsewhere (offscreen, some
    // Wayland compositors) the window follows the mouse by itself.
    if (windowHandle() && windowHandle()->startSystemMove())
        return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void TOwnFenster::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - m_dragOffset);
    else
        QDialog::mouseMoveEvent(event);
}

void TOwnFenster::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    QDialog::mouseReleaseEvent(event);
}

void TOwnFenster::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowTitleChange)
        update();
    QDialog::changeEvent(event);
}

} // namespace gf
