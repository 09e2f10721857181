#include "shell/TViewDlg.h"

#include "core/data/MessageSink.h"
#include "platform/ViewSettings.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

namespace gf {

namespace {
// Option 0 is the designed look, options 1..3 the low-vision look at these text sizes.
constexpr int TextPercent[4] = {100, 100, 125, 150};
} // namespace

TViewDlg::TViewDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Ansicht"));
    HelpKey = QStringLiteral("MainWin");

    Box = new TRadioGroup(QStringLiteral("Wie soll Grips-Fix aussehen?"), this);
    Box->setFont(look::comic(21, true));
    Box->setGeometry(105, 90, 590, 330);
    Box->setChoiceKeys(true);
    Box->setItems({QStringLiteral("Wie gewohnt"), QStringLiteral("Starker Kontrast"),
                   QStringLiteral("Starker Kontrast, Schrift 125 %"),
                   QStringLiteral("Starker Kontrast, Schrift 150 %")});

    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    CancelBtn = makeBarButton(QStringLiteral("&Zurück"));
    OKBtn = makeBarButton(QStringLiteral("&Übernehmen"));
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(OKBtn, &QPushButton::clicked, this, &TViewDlg::confirm);
}

void TViewDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, CancelBtn, OKBtn);
    statusBar()->setText(QString());
    const ViewSettings v = readViewSettings();
    Box->setItemIndex(!v.lowVision ? 0 : v.textPercent == 150 ? 3 : v.textPercent == 125 ? 2 : 1);
    Box->setFocus();
}

void TViewDlg::confirm()
{
    const int i = Box->itemIndex();
    if (i < 0)
        return;
    const ViewSettings before = readViewSettings();
    const ViewSettings chosen{i > 0, TextPercent[i]};
    if (chosen.lowVision == before.lowVision && chosen.textPercent == before.textPercent) {
        done(mrOk);
        return;
    }
    if (!writeViewSettings(chosen)) {
        xMessageDlg(QStringLiteral("Die Ansicht konnte nicht gespeichert werden."),
                    mkFehlermeldung, btn::OK, 0);
        return;
    }
    xMessageDlg(QStringLiteral("Die neue Ansicht gilt ab dem nächsten Start von Grips-Fix."),
                mkHinweis, btn::OK, 0);
    done(mrOk);
}

} // namespace gf
