#include "widgets/TBaseDlg.h"

#include "data/MessageSink.h"
#include "widgets/THelpWin.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"

namespace gf {

TBaseDlg::TBaseDlg(AppContext& ctx, QWidget* parent) : TWindow(ctx, parent)
{
    setFillsScreen();
    setWindowTitle(QStringLiteral(" "));
    look::setBackground(this, look::background());
    look::setTextColour(this, Qt::white);
    resize(800, 600);
    m_statusBar = new TStatusBar(this);
}

TPushButton* TBaseDlg::makeButton(const QString& caption, QWidget* parent, int width, int height)
{
    auto* b = new TPushButton(caption, parent ? parent : m_statusBar);
    b->resize(width, height);
    return b;
}

void TBaseDlg::showHelp()
{
    ShowHelpPage(ctx(), HelpKey);
}

void TBaseDlg::reject()
{
    done(mrCancel);
}

} // namespace gf
