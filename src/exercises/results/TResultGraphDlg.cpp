#include "exercises/results/TResultGraphDlg.h"

#include "core/data/MessageSink.h"
#include "exercises/results/TPrintDlg.h"
#include "exercises/results/TSingleTipDlg.h"
#include "exercises/results/tGraphPanel.h"
#include "toolkit/AppContext.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TStatusBar.h"

#include <QApplication>
#include <QPainter>

namespace gf {

TResultGraphDlg::TResultGraphDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Ergebnisse"));
    HelpKey.clear();

    PrintBtn = makeButton(QStringLiteral("&Drucken"));
    CommentBtn = makeButton(QStringLiteral("&Tipps"));
    OKBtn = makeButton(QStringLiteral("&Schließen"));
    PrintBtn->setAutoDefault(false);
    CommentBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(PrintBtn, &QPushButton::clicked, this, &TResultGraphDlg::PrintBtnClick);
    connect(CommentBtn, &QPushButton::clicked, this, &TResultGraphDlg::CommentBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
}

void TResultGraphDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(PrintBtn, CommentBtn, OKBtn);
    statusBar()->setText(QString());
    OKBtn->setFocus();
}

void TResultGraphDlg::printHeading(QPainter& painter)
{
    drawPageHeading(painter, printHeadingText(ctx().data));
}

void TResultGraphDlg::PrintBtnClick()
{
    static const char* const names[] = {"Telefonvermittlung", "Memo-Protokoll", "Wort-Fahndung",
                                        "Bild-Fahndung"};
    PrintPage page;
    page.what = QStringLiteral("Ergebnisse ") + QString::fromUtf8(names[logIndex(tipKind()) - 1]);
    page.draw = [this](QPainter& painter) { return printPage(painter); };
    TPrintDlg::print(ctx(), page, this);
    QApplication::processEvents();
    // Back from the print dialog, the keys belong to this window again.
    activateWindow();
}

void TResultGraphDlg::CommentBtnClick()
{
    TSingleTipDlg* tip = SingleTipDlg;
    if (!tip) {
        if (!m_ownTipDlg)
            m_ownTipDlg = new TSingleTipDlg(ctx(), this);
        tip = m_ownTipDlg;
    }
    tip->TipKind = tipKind();
    tip->exec();
}

} // namespace gf
