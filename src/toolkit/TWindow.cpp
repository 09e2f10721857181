#include "toolkit/TWindow.h"

#include "toolkit/Look.h"

#include <QApplication>
#include <QScreen>
#include <QScrollBar>

namespace gf {

TWindow::TWindow(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {}

void TWindow::setFillsScreen()
{
    m_fillsScreen = true;
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

void TWindow::setVisible(bool visible)
{
    const bool showing = visible && !isVisible();
    if (showing && m_fillsScreen)
        if (const QScreen* s = screen(); s && s->availableGeometry() != s->geometry())
            setGeometry(s->availableGeometry().intersected(geometry()));
    if (showing) {
        m_before = QApplication::activeWindow();
        FormShow();
        look::fitTexts(this);
        // a scroll bar a screen reader can reach needs a name as much as a button does
        for (QScrollBar* bar : findChildren<QScrollBar*>())
            if (bar->accessibleName().isEmpty())
                bar->setAccessibleName(bar->orientation() == Qt::Vertical
                                           ? QStringLiteral("Bildlauf senkrecht")
                                           : QStringLiteral("Bildlauf waagerecht"));
    }
    const bool hiding = !visible && isVisible();
    QDialog::setVisible(visible);
    // Without a window manager nobody hands the keyboard back to the window below. The
    // window that was active at the show may have gone meanwhile (a question before a
    // course): then the nearest visible window that owns this one takes it.
    if (!hiding)
        return;
    QWidget* next = m_before && m_before->isVisible() ? m_before.data() : nullptr;
    for (QWidget* w = parentWidget(); !next && w; w = w->parentWidget())
        if (w->window()->isVisible())
            next = w->window();
    if (!next)
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && w->isVisible() && qobject_cast<TWindow*>(w))
                next = w;
    if (next) {
        next->activateWindow();
        // a window whose focus child has gone takes the keys itself
        if (!next->focusWidget() || !next->focusWidget()->isVisible())
            next->setFocus();
    }
}

} // namespace gf
