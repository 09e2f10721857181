#include "toolkit/TWindow.h"

#include <QApplication>
#include <QScreen>

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
    }
    const bool hiding = !visible && isVisible();
    QDialog::setVisible(visible);
    // Without a window manager nobody hands the keyboard back to the window below.
    if (hiding && m_before && m_before->isVisible())
        m_before->activateWindow();
}

} // namespace gf
