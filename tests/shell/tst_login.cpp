#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "platform/PlatformDialogs.h"
#include "shell/TAnmeldDlg.h"
#include "support/GuiFixture.h"
#include "support/Modal.h"
#include "toolkit/AppContext.h"
#include "toolkit/TShellFolderTree.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace gf;

namespace gf::test {

namespace {

// One program run around a login dialog, in a temporary data folder.
struct Session
{
    Session()
    {
        timing::setScale(0.01);
        ctx.testRun = true;
        ctx.data = &data;
        ctx.messages = &sink;
        dataDir = QDir::cleanPath(QFileInfo(tmp.path()).canonicalFilePath()) + "/Daten";
        QDir().mkpath(dataDir);
        data.setDataDir(dataDir);
        data.SessionStart = QDateTime::currentDateTime();
        dlg = std::make_unique<TAnmeldDlg>(ctx);
        dlg->onUserLabel = [this](const QString& name) { labels << name; };
    }
    QStringList files() const { return QDir(dataDir).entryList(QDir::Files, QDir::Name); }
    QStringList listed() const
    {
        QStringList names;
        for (int i = 0; i < dlg->BenutzerListbox->count(); ++i)
            names << dlg->BenutzerListbox->item(i)->text();
        return names;
    }
    QString selected() const
    {
        const auto items = dlg->BenutzerListbox->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
    void type(const QString& text, bool ok = true)
    {
        dialogs.inputAnswers << InputBoxAnswer{text, ok};
    }
    void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

    QTemporaryDir tmp;
    QString dataDir;
    AppContext ctx;
    BoxMessageSink sink;
    tProgramData data{&sink};
    ScopedMessageHook hook;
    ScriptedDialogs dialogs;
    std::unique_ptr<TAnmeldDlg> dlg;
    QStringList labels;
};

} // namespace

class TstLogin : public QObject
{
    Q_OBJECT

private slots:
    void registersDetectiveAndOpensHimOnOk()
    {
        Session s;
        s.dlg->show();
        QCOMPARE(s.listed(), QStringList());

        s.type("  Anna Maria  ");
        s.click(s.dlg->NeuUserButton);
        QCOMPARE(s.dialogs.inputCalls.size(), 1);
        QCOMPARE(s.dialogs.inputCalls[0].caption, QString("Neuer Detektiv:"));
        QVERIFY(s.hook.isEmpty());
        QCOMPARE(s.files(), QStringList({"Anna Maria.mnu", "Anna MariaBK.dat", "Anna MariaBS.dat",
                                         "Anna MariaTS.dat", "Anna MariaWS.dat"}));
        QCOMPARE(s.selected(), QString("Anna Maria"));
        QVERIFY(!s.data.CurrentUser); // registered, not yet logged in

        // Enter, wherever the registration left the focus, means OK
        s.ctx.ExerciseStarted = true;
        s.dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(s.dlg.get()));
        typeKeys({Qt::Key_Return});
        QCOMPARE(s.dialogs.inputCalls.size(), 1);
        QVERIFY(!s.dlg->isVisible());
        QCOMPARE(s.dlg->result(), int(mrOk));
        QCOMPARE(s.data.CurrentUser->Name, QString("Anna Maria"));
        QCOMPARE(s.data.CurrentUser->RegSlot, quint16(1));
        QVERIFY(!s.ctx.ExerciseStarted);
        QCOMPARE(s.labels, QStringList{"Anna Maria"});
        QCOMPARE(TAnmeldDlg::userLabelText("-"), QString("kein Benutzer angemeldet"));
    }

    void refusesEmptyAndDuplicateNames()
    {
        Session s;
        QVERIFY(s.data.registerUser("Anna", 1));
        s.data.UserName = "-";
        s.dlg->show();
        const QStringList before = s.files();

        s.type("", false); // cancelled
        s.type("   ");
        s.click(s.dlg->NeuUserButton);
        s.click(s.dlg->NeuUserButton);
        QCOMPARE(s.hook.texts(), QStringList(2, "Bitte geben Sie einen Namen ein!"));
        QCOMPARE(s.hook.last().kind, int(mkAchtung));

        // The message shows the name as typed; the list then points at the detective.
        s.hook.clear();
        s.type(" Anna ");
        s.click(s.dlg->NeuUserButton);
        QCOMPARE(s.hook.texts(), QStringList{"Der Detektiv  Anna  ist bereits registriert!\n\r"
                                             "Bitte wählen Sie einen anderen Namen!"});
        QCOMPARE(s.hook.last().kind, int(mkAchtung));
        QCOMPARE(s.selected(), QString("Anna"));
        QCOMPARE(s.files(), before);
        QCOMPARE(s.listed(), QStringList{"Anna"});
    }

    void listsUserFilesInAnyCaseAndOpensOnlyRealRecords()
    {
        Session s;
        QVERIFY(s.data.registerUser("Bert", 1));
        QVERIFY(s.data.registerUser("Anna", 1));
        // A user file whose record carries another name cannot be opened.
        QVERIFY(QFile::copy(s.dataDir + "/Anna.mnu", s.dataDir + "/Carl.MNU"));
        QFile(s.dataDir + "/notiz.txt").open(QIODevice::WriteOnly);
        s.data.UserName = "Bert";

        // As the main window runs it: modal, Enter opens the selected detective.
        QTimer::singleShot(0, s.dlg.get(), [&] {
            QCOMPARE(s.listed(), QStringList({"Anna", "Bert", "Carl"}));
            QCOMPARE(s.selected(), QString("Bert"));
            s.dlg->BenutzerListbox->setCurrentRow(2);
            s.click(s.dlg->okbutton);
            QVERIFY(s.dlg->isVisible());
            QCOMPARE(s.dialogs.plainMessages,
                     QStringList{"Fehler: Detektiv Carl existiert nicht!"});
            QVERIFY(!s.data.CurrentUser);
            s.dlg->BenutzerListbox->setCurrentRow(0);
            QTest::keyClick(s.dlg->BenutzerListbox, Qt::Key_Return);
        });
        QCOMPARE(s.dlg->exec(), int(mrOk));
        QCOMPARE(s.data.CurrentUser->Name, QString("Anna"));

        // A second showing starts from the data folder and detective of that moment.
        QTimer::singleShot(0, s.dlg.get(), [&] {
            QCOMPARE(s.dlg->ShellTree->selectedPath(), s.dataDir);
            QCOMPARE(s.selected(), QString("Anna"));
            s.dlg->reject();
        });
        QCOMPARE(s.dlg->exec(), int(mrCancel));
    }

    void newDetectiveEntryStartsRegistration()
    {
        Session s;
        QVERIFY(QFile(s.dataDir + "/Neuer Detektiv....mnu").open(QIODevice::WriteOnly));
        s.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.dlg.get()));
        QCOMPARE(s.listed(), QStringList{"Neuer Detektiv..."});

        s.type("  Dora ");
        QListWidget* list = s.dlg->BenutzerListbox;
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(s.dialogs.inputCalls.size(), 1);
        QCOMPARE(s.dlg->result(), int(mrOk));
        QCOMPARE(s.data.CurrentUser->Name, QString("Dora"));
        QVERIFY(QFile::exists(s.dataDir + "/Dora.mnu"));
    }

    void deletesOnlyTheChosenDetectivesFiles()
    {
        Session s;
        for (const char* name : {"Anna", "Annabell", "AnnaTS"})
            QVERIFY(s.data.registerUser(name, 1));
        for (const char* log : {"AnnaTS_04_03.dat", "AnnaWS_05_11.dat", "AnnabellTS_04_03.dat"})
            QVERIFY(QFile(s.dataDir + "/" + QString::fromUtf8(log)).open(QIODevice::WriteOnly));
        s.data.UserName = "Anna";
        QVERIFY(s.data.openUser());
        s.dlg->show();
        const QStringList all = s.files();

        s.hook.answer(mrNo);
        s.click(s.dlg->RenameButton);
        QCOMPARE(s.hook.texts(),
                 QStringList{"Sollen alle Daten des Benutzers Anna vollständig gelöscht werden?"});
        QCOMPARE(s.hook.last().kind, int(mkBitteBestaetigen));
        QCOMPARE(s.hook.last().buttons, btn::YesNo);
        QCOMPARE(s.files(), all);

        s.hook.answer(mrYes);
        s.click(s.dlg->RenameButton);
        QStringList expected;
        for (const QString& f : all)
            if (!QRegularExpression("^Anna(\\.mnu|\\.gfj|(TS|BS|WS|BK)(_\\d\\d_\\d\\d)?\\.dat)$")
                     .match(f)
                     .hasMatch())
                expected << f;
        QCOMPARE(expected.size(), all.size() - 8);
        QCOMPARE(s.files(), expected);
        QCOMPARE(s.listed(), QStringList({"AnnaTS", "Annabell"}));
        QVERIFY(!s.data.CurrentUser); // the logged-in detective is gone

        // Nothing selected: nothing asked, nothing deleted.
        s.dlg->BenutzerListbox->clearSelection();
        s.hook.clear();
        s.click(s.dlg->RenameButton);
        QVERIFY(s.hook.isEmpty());

        // Cancelling cannot bring him back, nor can saving at the end of the session.
        s.click(s.dlg->abbrechenbutton);
        QCOMPARE(s.data.UserName, QString("-"));
        QVERIFY(s.data.UserList.isEmpty());
        QCOMPARE(s.files(), expected);
        QCOMPARE(s.labels, QStringList{"-"});
    }

    void cancelRestoresFolderAndName()
    {
        Session s;
        QVERIFY(s.data.registerUser("Anna", 1));
        const QString other = s.tmp.path() + "/Anderswo";
        QVERIFY(QDir().mkpath(other));
        s.data.setDataDir(other);
        QVERIFY(s.data.registerUser("Olga", 1));
        s.data.setDataDir(s.dataDir);
        s.data.UserName = "Anna";
        QVERIFY(s.data.openUser());

        for (int how = 0; how < 2; ++how) {
            s.dlg->show();
            QCOMPARE(s.dlg->notedDataDir(), s.dataDir + "/");
            QVERIFY(s.dlg->ShellTree->selectPath(other));
            QCOMPARE(s.data.DataDir, other + "/");
            QCOMPARE(s.selected(), QString("Olga"));
            // restored from minimised: the folder noted when it was opened still holds
            s.dlg->showMinimized();
            s.dlg->showNormal();
            QShowEvent again;
            QApplication::sendEvent(s.dlg.get(), &again);
            QCOMPARE(s.dlg->notedDataDir(), s.dataDir + "/");

            // The node without a path: read-only, nobody chosen, nothing can be made there.
            s.dlg->ShellTree->selectVirtualRoot();
            QVERIFY(s.data.DataDirReadOnly);
            QCOMPARE(s.data.DataDir, other + "/"); // never a folder nobody chose
            QCOMPARE(s.listed(), QStringList());
            QCOMPARE(s.data.UserName, QString("-"));
            if (how == 0) {
                s.click(s.dlg->NeuUserButton);
                s.click(s.dlg->Benutzerbutton);
                s.click(s.dlg->okbutton);
                QCOMPARE(
                    s.hook.texts(),
                    QStringList({"Auf diesem Datenträger kann kein neuer Benutzer erstellt werden.",
                                 "Auf diesem Datenträger kann kein neuer Ordner erstellt werden.",
                                 "Bitte wählen Sie einen Benutzer aus der Liste oder legen Sie "
                                 "einen neuen Benutzer an."}));
                QVERIFY(s.dialogs.inputCalls.isEmpty());
                QVERIFY(s.dlg->isVisible());
                QTest::keyClick(s.dlg.get(), Qt::Key_Escape);
            } else { // the close box
                QTest::mouseClick(s.dlg.get(), Qt::LeftButton, {}, s.dlg->closeBoxRect().center());
            }
            QVERIFY(!s.dlg->isVisible());
            QCOMPARE(s.dlg->result(), int(mrCancel));
            QCOMPARE(s.data.DataDir, s.dataDir + "/");
            QVERIFY(!s.data.DataDirReadOnly);
            QCOMPARE(s.data.CurrentUser->Name, QString("Anna"));
            QCOMPARE(s.labels.last(), QString("Anna"));
        }
    }

    void newFolderBecomesTheDataFolder()
    {
        Session s;
        s.dlg->show();
        s.click(s.dlg->Benutzerbutton);
        QVERIFY(s.hook.isEmpty());
        const QString created = s.dataDir + "/Neuer Ordner";
        QCOMPARE(s.data.DataDir, created + "/");

        s.type("Emil");
        s.click(s.dlg->NeuUserButton);
        QVERIFY(QFile::exists(created + "/Emil.mnu"));
        QCOMPARE(s.listed(), QStringList{"Emil"});
    }

    void isCentredAndFollowsTheMouse()
    {
        Session s;
        s.dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.dlg.get()));
        QCOMPARE(s.dlg->frameGeometry().center(), s.dlg->screen()->geometry().center());

        // Dragging by the caption bar moves the window with the mouse.
        const QPoint start = s.dlg->pos();
        QTest::mousePress(s.dlg.get(), Qt::LeftButton, {}, QPoint(300, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(340, 35), s.dlg->mapToGlobal(QPointF(340, 35)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(s.dlg.get(), &move);
        QTest::mouseRelease(s.dlg.get(), Qt::LeftButton, {}, QPoint(340, 35));
        QCOMPARE(s.dlg->pos(), start + QPoint(40, 25));
        QVERIFY(s.dlg->isVisible());
        test::shot(s.dlg.get(), "TAnmeldDlg");
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstLogin)
#include "tst_login.moc"
