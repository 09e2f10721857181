#include "widgets/TWindow.h"

namespace gf {

TWindow::TWindow(AppContext& ctx, QWidget* parent) : QDialog(parent), m_ctx(ctx) {}

void TWindow::setVisible(bool visible)
{
    const bool showing = visible && !isVisible();
    if (showing)
        FormShow();
    QDialog::setVisible(visible);
}

} // namespace gf
