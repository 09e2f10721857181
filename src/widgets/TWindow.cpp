#include "widgets/TWindow.h"

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
    if (showing)
        FormShow();
    QDialog::setVisible(visible);
}

} // namespace gf
