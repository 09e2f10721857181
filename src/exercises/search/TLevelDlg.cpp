#include "exercises/search/TLevelDlg.h"

#include "core/data/MessageSink.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QLabel>

namespace gf {

namespace {
constexpr quint16 kTestRunCount = 2;
}

TCountDlg::TCountDlg(AppContext& ctx, const QList<quint16>& counts, bool centredLabel, QWidget* parent)
    : TBaseDlg(ctx, parent), m_counts(counts)
{
    setWindowTitle(QStringLiteral("Anzahl der Übungen"));
    Label = new QLabel(QStringLiteral("Bitte wählen Sie die Anzahl der Übungen:"), this);
    Label->setFont(look::comic(27, true));
    look::setTextColour(Label, Qt::white);
    if (centredLabel) {
        Label->setAlignment(Qt::AlignCenter);
        Label->setGeometry(40, 110, 720, 44);
    } else {
        Label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Label->setGeometry(120, 110, 640, 44);
    }

    Group = new TRadioGroup(QString(), this);
    Group->setFont(look::comic(21, true));
    Group->setGeometry(283, 180, 233, 246);
    Group->setChoiceKeys(true);
    Group->setAccessibleName(windowTitle());

    // the buttons answer to their letters and Enter to "Weiter"; the arrows stay with the
    // group, so none of them lands on "Zurück"
    HelpBtn = makeBarButton(QStringLiteral("&Hilfe"));
    BackBtn = makeBarButton(QStringLiteral("&Zurück"));
    OKBtn = makeBarButton(QStringLiteral("&Weiter"));
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(BackBtn, &QPushButton::clicked, this, [this] { back(); });
    connect(OKBtn, &QPushButton::clicked, this, &TCountDlg::confirm);
}

QList<quint16> TCountDlg::counts() const
{
    QList<quint16> out = m_counts;
    if (ctx().testRun)
        out.append(kTestRunCount);
    return out;
}

void TCountDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, BackBtn, OKBtn);
    statusBar()->setText(QString());
    QStringList items;
    for (quint16 c : counts())
        items << QStringLiteral("%1 Übungen").arg(c, 2);
    Group->setItems(items);
    Group->setFocus();
}

void TCountDlg::confirm()
{
    const int index = Group->itemIndex();
    const QList<quint16> values = counts();
    if (index < 0 || index >= values.size()) {
        xMessageDlg(QStringLiteral("Bitte wählen Sie einen Schwierigkeitsgrad aus!"), mkAchtung,
                    btn::OK, 1001);
        return;
    }
    Count = values[index];
    done(mrOk);
}

TLevelDlg::TLevelDlg(AppContext& ctx, QWidget* parent) : TCountDlg(ctx, {10, 20, 30}, true, parent)
{
    HelpKey = QStringLiteral("LevelDlg");
}

void TLevelDlg::back()
{
    Count = 0;
    done(mrCancel);
}

void TLevelDlg::reject()
{
    back();
}

} // namespace gf
