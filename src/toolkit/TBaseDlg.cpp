#include "toolkit/TBaseDlg.h"

#include "core/data/MessageSink.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TImage.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

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

TPushButton* TBaseDlg::makeBarButton(const QString& caption, int width)
{
    TPushButton* b = makeButton(caption, nullptr, width);
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void TBaseDlg::dockStatusBar(QWidget* first, QWidget* last)
{
    m_statusBar->dock();
    m_statusBar->placeAtEdges(first, last);
    m_statusBar->setText(QString());
}

void TBaseDlg::placeAboveStatusBar(QWidget* w)
{
    w->move((width() - w->width()) / 2, m_statusBar->y() - ctx().ScreenHeight / 60 - w->height());
}

void TBaseDlg::setStatusFont(const QFont& font)
{
    m_statusBar->setFont(font);
    m_statusBar->raise();
}

TImage* TBaseDlg::makeBackImage(const QRect& geometry)
{
    auto* image = new TImage(this);
    image->setStretch(true);
    image->setGeometry(geometry);
    image->lower();
    return image;
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
