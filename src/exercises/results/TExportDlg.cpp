#include "exercises/results/TExportDlg.h"

#include "core/data/Formats.h"
#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "platform/PlatformDialogs.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TPushButton.h"
#include "toolkit/TRadioGroup.h"
#include "toolkit/TStatusBar.h"
#include "toolkit/TxMsgDlg.h"

#include <QLabel>
#include <QLineEdit>

namespace gf {

namespace {

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry)
{
    auto* label = new QLabel(text, parent);
    label->setFont(look::arial(19, true));
    look::setTextColour(label, Qt::white);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGeometry(geometry);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const QRect& geometry)
{
    auto* edit = new QLineEdit(parent);
    edit->setFont(look::arial(19));
    edit->setGeometry(geometry);
    look::setEditColours(edit);
    edit->setPlaceholderText(QStringLiteral("TT.MM.JJJJ"));
    edit->setMaxLength(12);
    return edit;
}

} // namespace

TExportDlg::TExportDlg(AppContext& ctx, QWidget* parent) : TBaseDlg(ctx, parent)
{
    setWindowTitle(QStringLiteral("Daten exportieren"));
    HelpKey = QStringLiteral("ExportDlg");

    Group = new TRadioGroup(QStringLiteral("Ergebnisse:"), this);
    Group->setFont(look::arial(19, true));
    Group->setGeometry(50, 50, 320, 250);
    Group->setItems({QStringLiteral("alle"), QStringLiteral("Anfangsdatum"),
                     QStringLiteral("Enddatum"), QStringLiteral("Zeitraum")});
    StatGroup = new TRadioGroup(QStringLiteral("Statistik für:"), this);
    StatGroup->setFont(look::arial(19, true));
    StatGroup->setGeometry(400, 50, 350, 160);
    StatGroup->setItems(
        {QStringLiteral("Wortfahndung/Bildfahndung"), QStringLiteral("Telefon/Memo-Protokoll")});
    connect(Group, &TRadioGroup::itemClicked, this, &TExportDlg::GroupClick);
    connect(StatGroup, &TRadioGroup::itemClicked, this, &TExportDlg::GroupClick);

    FromLbl = makeLabel(this, QStringLiteral("vom: "), QRect(60, 345, 110, 36));
    StartEdit = makeEdit(this, QRect(180, 345, 170, 36));
    FromDLbl = makeLabel(this, QStringLiteral("(Anfangsdatum)"), QRect(370, 345, 300, 36));
    ToLbl = makeLabel(this, QStringLiteral("bis zum:"), QRect(60, 410, 110, 36));
    EndEdit = makeEdit(this, QRect(180, 410, 170, 36));
    ToDLbl = makeLabel(this, QStringLiteral("(Enddatum)"), QRect(370, 410, 300, 36));
    FromLbl->setBuddy(StartEdit);
    ToLbl->setBuddy(EndEdit);
    FileEdit = new QLineEdit(this);
    FileEdit->hide();

    HelpBtn = makeButton(QStringLiteral("&Hilfe"));
    OKBtn = makeButton(QStringLiteral("&Zurück"));
    FileNameBtn = makeButton(QStringLiteral("&Ergebnisse exportieren"), nullptr, 220, 30);
    HelpBtn->setAutoDefault(false);
    FileNameBtn->setAutoDefault(false);
    OKBtn->setDefault(true);
    connect(HelpBtn, &QPushButton::clicked, this, &TBaseDlg::showHelp);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(FileNameBtn, &QPushButton::clicked, this, &TExportDlg::FileNameBtnClick);
}

void TExportDlg::FormShow()
{
    statusBar()->dock();
    statusBar()->placeCentred(HelpBtn, OKBtn, FileNameBtn);
    statusBar()->setText(QString());
    FileEdit->clear();
    StartEdit->clear();
    EndEdit->clear();
    Group->setItemIndex(0);
    StatGroup->setItemIndex(0);
    GroupClick();
    FileNameBtn->setFocus();
}

QString TExportDlg::proposedFileName() const
{
    const tProgramData* data = ctx().data;
    return data ? data->DataDir + data->UserName + QStringLiteral(".exp") : QString();
}

void TExportDlg::GroupClick()
{
    FileEdit->clear();
    const int period = Group->itemIndex();
    UseFrom = period == 1 || period == 3;
    UseTo = period == 2 || period == 3;
    for (QWidget* w : {static_cast<QWidget*>(FromLbl), static_cast<QWidget*>(StartEdit),
                       static_cast<QWidget*>(FromDLbl)})
        w->setVisible(UseFrom);
    for (QWidget* w : {static_cast<QWidget*>(ToLbl), static_cast<QWidget*>(EndEdit),
                       static_cast<QWidget*>(ToDLbl)})
        w->setVisible(UseTo);
}

bool TExportDlg::readDates()
{
    auto parse = [](bool shown, QLineEdit* edit, QDate& date) {
        if (!shown)
            return true;
        const auto parsed = parseShortDate(edit->text());
        if (!parsed) {
            edit->setFocus();
            xMessageDlg(QStringLiteral("Ungültige Datumsangabe"), mkFehlermeldung, btn::OK, 0);
            return false;
        }
        date = *parsed;
        return true;
    };
    if (!parse(UseFrom, StartEdit, FromDate) || !parse(UseTo, EndEdit, ToDate))
        return false;
    const QString wrong = DayRange{UseFrom ? FromDate : QDate(), UseTo ? ToDate : QDate()}
                              .orderError();
    if (wrong.isEmpty())
        return true;
    StartEdit->setFocus();
    xMessageDlg(wrong, mkFehlermeldung, btn::OK, 0);
    return false;
}

void TExportDlg::FileNameBtnClick()
{
    // A mistyped date is pointed out before the trainee is asked for a file name.
    if (!readDates())
        return;
    QString name;
    for (;;) {
        name = saveFileName(this, QStringLiteral("Daten exportieren"), proposedFileName(),
                            QStringLiteral("Text, durch TABS getrennt (*.exp *.DAT *.ASC *.TXT)"),
                            QStringLiteral("exp"));
        if (name.isEmpty()) {
            FileEdit->clear();
            return;
        }
        // The data folder's own files pass the filter; the choice is asked for again.
        const tProgramData* data = ctx().data;
        const QString own = data ? data->ownFileText(name) : QString();
        if (own.isEmpty())
            break;
        xMessageDlg(own, mkFehlermeldung, btn::OK, 0);
    }
    FileEdit->setText(name);
    RunExport();
}

bool TExportDlg::RunExport()
{
    if (!readDates())
        return false;
    if (FileEdit->text().isEmpty()) {
        xMessageDlg(QStringLiteral("Bitte geben Sie einen Dateinamen an!"), mkAchtung, btn::OK, 0);
        return false;
    }
    tProgramData* data = ctx().data;
    if (!data || !data->CurrentUser)
        return false;
    // The writer replaces an earlier file only once the whole export is in hand, and
    // names a log it cannot read; nothing is created here beforehand.
    return data->ExportResults(*data->CurrentUser, FileEdit->text(), UseFrom, UseTo, FromDate,
                               ToDate, StatGroup->itemIndex() == 1 ? ekTelMemo : ekWortBild);
}

} // namespace gf
