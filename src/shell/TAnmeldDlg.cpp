#include "shell/TAnmeldDlg.h"

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "platform/DataFolder.h"
#include "platform/PlatformDialogs.h"
#include "shell/TTuerDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/Look.h"
#include "toolkit/TShellFolderTree.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QSignalBlocker>

namespace gf {

namespace {

const QColor kPanel(82, 190, 160);
const QColor kHeading(16, 44, 74);
const QSize kButtonSize(138, 34);


QLabel* heading(const QString& text, QWidget* parent, int x, int y)
{
    auto* l = new QLabel(text, parent);
    l->setFont(look::arial(qRound(15 * look::textScale()), true));
    look::setTextColour(l, kHeading);
    // a larger heading grows upwards, away from its list
    const int h = qRound(19 * look::textScale());
    l->setGeometry(x, y + 19 - h, look::lowVision() ? 260 : 200, h);
    return l;
}

TSkinButton* button(const QString& caption, QWidget* parent, int x, int y)
{
    auto* b = new TSkinButton(caption, kButtonSize, parent);
    b->setFont(look::arial(qRound(14 * look::textScale()), true));
    b->move(x, y);
    return b;
}

// Selected entries in the box's dark blue with white text, also while the box has no
// focus; the platform's light highlight reads poorly on the panel.
void strongSelection(QWidget* view)
{
    if (!look::lowVision())
        return;
    look::setEditColours(view);
    QPalette pal = view->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Highlight, kHeading);
        pal.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    view->setPalette(pal);
}

QString canonical(const QString& file)
{
    return QFileInfo(file).canonicalFilePath();
}

} // namespace

TAnmeldDlg::TAnmeldDlg(AppContext& ctx, QWidget* parent) : TOwnFenster(ctx, parent)
{
    setWindowTitle(QStringLiteral("Benutzer"));
    setFixedSize(FrameLeft + PanelWidth + FrameRight, FrameTop + PanelHeight + FrameBottom);

    ppp = new QFrame(this);
    ppp->setGeometry(FrameLeft, FrameTop, PanelWidth, PanelHeight);
    look::setBackground(ppp, kPanel);

    NL1 = heading(QStringLiteral("Ordner"), ppp, 26, 28);
    ShellTree = new TShellFolderTree(ppp);
    ShellTree->setGeometry(26, 48, 275, 247);
    ShellTree->setFont(look::arial(qRound(14 * look::textScale())));
    ShellTree->setAccessibleName(NL1->text());
    strongSelection(ShellTree);
    Benutzerbutton = button(QStringLiteral("Neuer Ordner"), ppp, 102, 303);

    NL2 = heading(QStringLiteral("Benutzer"), ppp, 345, 30);
    BenutzerListbox = new QListWidget(ppp);
    BenutzerListbox->setGeometry(345, 48, 269, 247);
    BenutzerListbox->setFont(look::arial(qRound(16 * look::textScale())));
    BenutzerListbox->setAccessibleName(NL2->text());
    strongSelection(BenutzerListbox);
    BenutzerListbox->setSelectionMode(QAbstractItemView::SingleSelection);
    NeuUserButton = button(QStringLiteral("Neuer Benutzer"), ppp, 342, 302);
    RenameButton = button(QStringLiteral("Benutzer löschen"), ppp, 481, 302);

    okbutton = button(QStringLiteral("OK"), ppp, 185, 359);
    abbrechenbutton = button(QStringLiteral("Abbrechen"), ppp, 327, 359);

    connect(ShellTree, &TShellFolderTree::selectedPathChanged, this,
            [this](const QString& path) { ShellTreeChange(path); });
    connect(BenutzerListbox, &QListWidget::itemDoubleClicked, this, [this] { OkButtonClick(); });
    connect(okbutton, &QAbstractButton::clicked, this, [this] { OkButtonClick(); });
    connect(abbrechenbutton, &QAbstractButton::clicked, this, [this] { reject(); });
    connect(NeuUserButton, &QAbstractButton::clicked, this, [this] { NeuUserButtonClick(); });
    connect(RenameButton, &QAbstractButton::clicked, this, [this] { RenameButtonClick(); });
    connect(Benutzerbutton, &QAbstractButton::clicked, this, [this] { BenutzerbuttonClick(); });
}

QString TAnmeldDlg::userLabelText(const QString& userName)
{
    return userName == QLatin1String("-") ? QStringLiteral("kein Benutzer angemeldet") : userName;
}

TTuerDlg& TAnmeldDlg::tuer()
{
    if (TuerDlg)
        return *TuerDlg;
    if (!m_ownTuer)
        m_ownTuer = new TTuerDlg(ctx(), this);
    return *m_ownTuer;
}

void TAnmeldDlg::FormShow()
{
    if (const QScreen* s = screen()) {
        const QRect g = s->geometry();
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }

    tProgramData& d = (*ctx().data);
    m_notedDataDir = d.DataDir;
    m_notedReadOnly = d.DataDirReadOnly;
    m_notedUserName = d.UserName;
    {
        // The folder is taken up once below, whether or not the tree's node changes.
        const QSignalBlocker quiet(ShellTree);
        ShellTree->selectPath(d.DataDir);
    }
    ShellTreeChange(ShellTree->selectedPath());
    BenutzerListbox->setFocus();
}

void TAnmeldDlg::ShellTreeChange(const QString& path)
{
    tProgramData& d = (*ctx().data);
    if (path.isEmpty()) {
        // A node without path: nothing to list and nothing can be written there. DataDir
        // keeps its folder so that no file operation can land in the current folder.
        m_hasPath = false;
        BenutzerListbox->clear();
        d.UserName = QStringLiteral("-");
        d.DataDirReadOnly = true;
        return;
    }
    m_hasPath = true;
    d.setDataDir(path);
    d.DataDirReadOnly = false;
    fillList();
    if (!canCreateFilesIn(d.DataDir))
        d.DataDirReadOnly = true;
}

void TAnmeldDlg::fillList()
{
    tProgramData& d = (*ctx().data);
    BenutzerListbox->clear();
    const QString path = ShellTree->selectedPath();
    if (path.isEmpty()) {
        d.UserName = QStringLiteral("-");
        return;
    }
    d.setDataDir(path);
    const QStringList names = d.listUsers();
    if (names.isEmpty()) {
        d.UserName = QStringLiteral("-");
        return;
    }
    BenutzerListbox->addItems(names);
    BenutzerListbox->setCurrentRow(0);
    for (int i = 0; i < BenutzerListbox->count(); ++i) {
        if (BenutzerListbox->item(i)->text().trimmed() == d.UserName)
            BenutzerListbox->setCurrentRow(i);
    }
}

bool TAnmeldDlg::folderWritable() const
{
    return m_hasPath && canCreateFilesIn((*ctx().data).DataDir);
}

void TAnmeldDlg::OkButtonClick()
{
    const QList<QListWidgetItem*> selected = BenutzerListbox->selectedItems();
    if (selected.isEmpty()) {
        xMessageDlg(QStringLiteral("Bitte wählen Sie einen Benutzer aus der Liste oder legen Sie "
                                   "einen neuen Benutzer an."),
                    mkHinweis, btn::OK);
        return;
    }
    ctx().ExerciseStarted = false;
    (*ctx().data).UserName = selected.first()->text().trimmed();
    if (tuer().Opened(1)) {
        done(mrOk);
        return;
    }
    // A registration started from here may have changed the folder's detectives.
    fillList();
}

void TAnmeldDlg::NeuUserButtonClick()
{
    if (!folderWritable()) {
        xMessageDlg(QStringLiteral("Auf diesem Datenträger kann kein neuer Benutzer erstellt "
                                   "werden."),
                    mkAchtung, btn::OK);
        return;
    }
    tuer().AddUser(1);
    fillList();
    // the new name is selected there: Enter now logs in rather than asking for a name again
    BenutzerListbox->setFocus();
}

void TAnmeldDlg::BenutzerbuttonClick()
{
    if (!folderWritable()) {
        xMessageDlg(QStringLiteral("Auf diesem Datenträger kann kein neuer Ordner erstellt "
                                   "werden."),
                    mkAchtung, btn::OK);
        return;
    }
    if (ShellTree->createFolder().isEmpty())
        xMessageDlg(QStringLiteral("Fehler beim Anlegen des Ordners."), mkAchtung, btn::OK);
}

void TAnmeldDlg::RenameButtonClick()
{
    const QList<QListWidgetItem*> selected = BenutzerListbox->selectedItems();
    if (selected.isEmpty())
        return;
    const QString n = selected.first()->text().trimmed();
    if (xMessageDlg(QStringLiteral("Sollen alle Daten des Benutzers ") + n +
                        QStringLiteral(" vollständig gelöscht werden?"),
                    mkBitteBestaetigen, btn::YesNo) != mrYes)
        return;

    tProgramData& d = (*ctx().data);
    // Deleting the detective who is logged in must not let the end of the session
    // write his files back.
    const QString currentFile = d.CurrentUser ? canonical(d.UserFileName) : QString();
    const bool isCurrent =
        !currentFile.isEmpty() && canonical(d.DataDir + n + QStringLiteral(".mnu")) == currentFile;
    d.deleteUser(n);
    if (isCurrent && !QFileInfo::exists(currentFile)) {
        d.CurrentUser.reset();
        d.UserList.clear();
    }
    fillList();
}

void TAnmeldDlg::reject()
{
    tProgramData& d = (*ctx().data);
    d.DataDir = m_notedDataDir;
    d.DataDirReadOnly = m_notedReadOnly;
    // Nobody new was opened, so the name goes back to the one that belongs to
    // CurrentUser.
    d.UserName = m_notedUserName;
    done(mrCancel);
}

void TAnmeldDlg::done(int result)
{
    tProgramData& d = (*ctx().data);
    if (!d.userFileExists(d.UserName))
        d.UserName = QStringLiteral("-");
    if (onUserLabel)
        onUserLabel(d.UserName);
    TOwnFenster::done(result);
}

void TAnmeldDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F10:
        showPlainMessage((*ctx().data).UserName, this);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus, and otherwise means OK.
        if (auto* b = qobject_cast<QAbstractButton*>(focusWidget()))
            b->click();
        else
            OkButtonClick();
        return;
    default:
        TOwnFenster::keyPressEvent(event);
    }
}

} // namespace gf
