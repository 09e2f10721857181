#include "toolkit/TStatusBar.h"

#include "render/PanelCanvas.h"
#include "toolkit/Look.h"

#include <QEvent>
#include <QPainter>

namespace gf {

TStatusBar::TStatusBar(QWidget* parent) : QFrame(parent)
{
    look::setBackground(this, look::statusBar());
    look::setTextColour(this, Qt::white);
    setFont(look::arial(19));
    setFrameShape(QFrame::NoFrame);
    setGeometry(0, 0, parent ? parent->width() : 800, look::StatusBarHeight);
    if (parent) {
        parent->installEventFilter(this);
        dock();
    }
}

void TStatusBar::setText(const QString& text)
{
    m_text = text;
    update();
}

void TStatusBar::dock()
{
    if (auto* p = parentWidget())
        setGeometry(0, p->height() - height(), p->width(), height());
}

bool TStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        dock();
    return QFrame::eventFilter(watched, event);
}

int TStatusBar::centredTop(const QWidget* w) const
{
    return (height() - w->height()) / 2;
}

void TStatusBar::placeCentred(QWidget* left, QWidget* middle, QWidget* right) const
{
    const int mid = width() / 2;
    int midLeft = mid, midRight = mid;
    if (middle) {
        midLeft = (width() - middle->width()) / 2;
        midRight = midLeft + middle->width();
        middle->move(midLeft, centredTop(middle));
    }
    if (left)
        left->move(midLeft - look::StatusGap - left->width(), centredTop(left));
    if (right)
        right->move(midRight + look::StatusGap, centredTop(right));
}

void TStatusBar::placeAtEdges(QWidget* first, QWidget* last) const
{
    if (first)
        first->move(look::StatusGap, centredTop(first));
    if (last)
        last->move(width() - look::StatusGap - last->width(), centredTop(last));
}

void TStatusBar::placePair(QWidget* left, QWidget* right) const
{
    const int mid = width() / 2;
    if (left)
        left->move(mid - look::StatusGap - left->width(), centredTop(left));
    if (right)
        right->move(mid + look::StatusGap, centredTop(right));
}

void TStatusBar::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter p(this);
    // a thin light edge separates the bar from the window above it
    p.setPen(look::statusBar().lighter(130));
    p.drawLine(0, 0, width(), 0);
    if (!m_text.isEmpty()) {
        p.setFont(font());
        p.setPen(palette().color(QPalette::WindowText));
        drawWatchedText(p, rect().adjusted(8, 0, -8, 0), Qt::AlignCenter, m_text);
    }
}

} // namespace gf
