#include "shell/TChooseModeDlg.h"

#include "core/data/MessageSink.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

namespace gf {

TChooseModeDlg::TChooseModeDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Art der Übung"));

    Box = new TRadioGroup(QStringLiteral("Bitte legen Sie die Art der Übung fest:"), this);
    Box->setFont(look::comic(21, true));
    Box->setGeometry(155, 99, 489, 305);
    Box->setChoiceKeys(true);
    connect(Box, &TRadioGroup::itemClicked, this, [this](int index) { Mode = quint16(index + 1); });

    // letters for the buttons, Enter for "Weiter", the arrows and digits for the group
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    CancelBtn = makeBarButton(QStringLiteral("&Zurück"));
    OKBtn = makeBarButton(QStringLiteral("&Weiter"));
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(CancelBtn, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(OKBtn, &QPushButton::clicked, this, &TChooseModeDlg::confirm);
}

void TChooseModeDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, CancelBtn, OKBtn);
    statusBar()->setText(QString());
    Mode = 0;
    Box->setItems({ModeText[1], ModeText[2], ModeText[3]});
    Box->setFocus();
}

void TChooseModeDlg::confirm()
{
    if (Mode == 0) {
        xMessageDlg(QStringLiteral("Bitte wählen Sie eine Übungsart aus!"), mkAchtung, btn::OK,
                    4300);
        return;
    }
    done(mrOk);
}

} // namespace gf
