#include "widgets/TBaseDlg.h"

#include "data/MessageSink.h"
#include "widgets/THelpWin.h"
#include "widgets/Look.h"
#include "widgets/TPushButton.h"
#include "widgets/TStatusBar.h"

#include <QAbstractButton>
#include <QShortcut>

namespace gf {

TBaseDlg::TBaseDlg(AppContext& ctx, QWidget* parent) : TWindow(ctx, parent)
{
    setFillsScreen();
    setWindowTitle(QStringLiteral(" "));
    look::setBackground(this, look::background());
    look::setTextColour(this, Qt::white);
    resize(800, 600);
    m_statusBar = new TStatusBar(this);
    // F1 does what the window's "&Hilfe" does (an exercise pauses for it).
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, [this] {
        for (QAbstractButton* b : m_statusBar->findChildren<QAbstractButton*>())
            if (b->text() == QLatin1String("&Hilfe") && b->isVisible() && b->isEnabled()) {
                b->click();
                return;
            }
        showHelp();
    });
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
