#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "platform/InstallPaths.h"
#include "platform/PlatformDialogs.h"
#include "platform/Screen.h"
#include "platform/SoundPlayer.h"
#include "platform/Termination.h"
#include "shell/SessionFlow.h"
#include "shell/TAnmeldDlg.h"
#include "shell/TCreditDlg.h"
#include "shell/TMainWin.h"
#include "shell/WindowSet.h"
#include "support/DataSupport.h"
#include "support/Modal.h"
#include "support/TestProgram.h"
#include "toolkit/AppContext.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace gf;
using gf::test::TestProgram;

namespace gf::test {

namespace {

// Closes whatever modal window opens next, as Cancel, noting its title.
void rejectNextModal(QStringList* titles = nullptr)
{
    QTimer::singleShot(0, [titles] {
        if (auto* w = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (titles)
                *titles << w->windowTitle();
            w->reject();
        }
    });
}

tTeleStat telRecord(const tProgramData& data)
{
    tTeleStat r = test::seqStat<tTeleStat>(1, 5, 4, {{1, 1}, {1, 1}}, 2);
    r.Stamp = SerialDate::fromDateTime(data.SessionStart);
    return r;
}

QString monthLog(const TestProgram& p, const QString& name, const QString& tag)
{
    return name + tag + p.data.MonthTag() + ".dat";
}

} // namespace

class TstMainWin final : public QObject
{
    Q_OBJECT

private slots:
    void dateRuleComparesMonthsOnly()
    {
        QVERIFY(!regDateInLaterMonth(QDate(2004, 1, 31), QDate(2005, 1, 1)));
        QVERIFY(regDateInLaterMonth(QDate(2005, 2, 1), QDate(2005, 1, 28)));
        QVERIFY(!regDateInLaterMonth(QDate(2005, 3, 15), QDate(2005, 3, 3)));
        QVERIFY(regDateInLaterMonth(QDate(2006, 1, 1), QDate(2005, 12, 31)));
        const QString text = dateRuleMessage("Anna", QDate(2005, 2, 1), QDate(2005, 1, 28));
        QVERIFY(text.startsWith("Hinweis: das Datum wurde verändert! \n\rDer Benutzer Anna\r hat "
                                "sich am 01.02.2005 angemeldet, Ihr Rechner meldet als heutiges "
                                "Datum aber erst den 28.01.2005.\n\r"));
        QVERIFY(text.contains("Ergebnisse  mehr gespeichert werden, bis in Ihrer Konfiguration "
                              "das  Anmeldedatum wieder erreicht ist oder  Sie das Datum"));
    }

    void everyDoorAsksForADetectiveFirst()
    {
        TestProgram p;
        ScopedMessageHook hook;
        p.win->show();
        QVERIFY(QTest::qWaitForWindowActive(p.win));
        // A door opens by mouse, by its number, and by Enter or Space once it has the keys.
        QTest::mouseClick(p.win->Image1, Qt::LeftButton);
        QTest::keyClick(p.win, Qt::Key_2);
        p.win->Image3->setFocus();
        QTest::keyClick(p.win->Image3, Qt::Key_Return);
        QTest::keyClick(p.win, Qt::Key_Tab);
        QVERIFY(p.win->Image4->hasFocus());
        QTest::keyClick(p.win->Image4, Qt::Key_Space);
        p.win->TagResPanelClick();
        p.win->ExportPnlClick();
        ModalPlayer::key(p.win, Qt::Key_F, Qt::AltModifier);
        QCOMPARE(hook.messages().size(), 7);
        for (const auto& m : hook.messages()) {
            QCOMPARE(m.text, QString("Es wurde noch kein Benutzer ausgewählt"));
            QCOMPARE(m.kind, int(mkAchtung));
        }
        QVERIFY(!p.ctx.ExerciseStarted);
    }

    void resultsButtonsOpenTheirWindows()
    {
        TestProgram p;
        ScopedMessageHook hook;
        p.login("Anna");
        QStringList opened;
        for (auto click : {&TMainWin::TagResPanelClick, &TMainWin::ExportPnlClick}) {
            rejectNextModal(&opened);
            (p.win->*click)();
        }
        p.win->show();
        // The Alt key clicks its button a moment later.
        QTimer closer;
        connect(&closer, &QTimer::timeout, [&] { rejectNextModal(&opened); });
        closer.start(50);
        ModalPlayer::key(p.win, Qt::Key_F, Qt::AltModifier);
        QVERIFY(QTest::qWaitFor([&] { return opened.size() == 3; }));
        QCOMPARE(opened, (QStringList{"aktuelle Ergebnisse", "Daten exportieren", "Fortschritt"}));
    }

    void laterRegistrationMonthMakesTheSessionReadOnly()
    {
        TestProgram p;
        ScopedMessageHook hook;
        p.openDetective("Bert");
        p.data.CurrentUser->RegDate = SerialDate::fromDate(p.data.SessionStart.date().addMonths(1));
        p.win->AfterLogin();
        QVERIFY(p.ctx.ReadOnlySession);
        QVERIFY(!hook.messages().isEmpty());
        QVERIFY(hook.messages().first().text.startsWith("Hinweis: das Datum wurde verändert!"));

        const QStringList before = p.dataFiles();
        p.data.TelStatList.append(telRecord(p.data));
        p.win->CloseWithoutQuestion = false;
        p.win->close();
        QCOMPARE(p.dataFiles(), before);
    }

    void changingTheDetectiveSavesTheFirstOnesResults()
    {
        TestProgram p;
        ScopedMessageHook hook;
        p.login("Anna");
        p.data.TelStatList.append(telRecord(p.data));
        p.ctx.ExerciseStarted = true;
        rejectNextModal();
        p.win->BenutzerButtonClick();
        QVERIFY(p.dataFiles().contains(monthLog(p, "Anna", "TS")));
        // Cancelled: Anna stays the detective and the data folder is unchanged.
        QCOMPARE(p.data.UserName, QString("Anna"));
        QCOMPARE(QDir(p.data.DataDir).absolutePath(), QDir(p.dir.path() + "/Daten").absolutePath());
    }

    void aShutdownStoresWhatIsLeftWithoutTheClosingScreen()
    {
        for (int sig : {SIGTERM, SIGHUP}) {
            TestProgram p;
            ScopedMessageHook hook;
            p.login("Anna");
            // A record an earlier save could not store, still in memory.
            p.data.TelStatList.append(telRecord(p.data));
            bool credits = false;
            ModalPlayer player;
            player.on<TCreditDlg>([&](TCreditDlg& d) {
                credits = true;
                d.reject();
            });
            onTermination(p.win, [&p] { p.win->endSession(); });
            ::raise(sig);
            QTRY_VERIFY(p.win->CloseWithoutQuestion);
            QVERIFY(!credits);
            const auto user = p.storedUser();
            QVERIFY(user);
            QCOMPARE(storedRecords(*user).Tel.size(), 1);
        }
    }

    void registeringThroughTheLoginDialogLeavesExactlyTheDetectivesFiles()
    {
        TestProgram p;
        ScopedMessageHook hook;
        ScriptedDialogs dialogs;
        dialogs.inputAnswers << InputBoxAnswer{"  Anna ", true};
        TAnmeldDlg* login = p.win->Windows().AnmeldDlg;
        QTimer::singleShot(0, [login] {
            login->NeuUserButton->click();
            login->okbutton->click();
        });
        p.win->BenutzerButtonClick();

        QCOMPARE(p.data.UserName, QString("Anna"));
        QVERIFY(p.data.CurrentUser);
        QCOMPARE(p.win->UserLabel->text(), QString("Anna"));
        QCOMPARE(p.win->windowTitle(), QString("Grips-Fix Anna"));
        QVERIFY(p.data.SessionListsCreated);

        p.win->CloseWithoutQuestion = false;
        p.win->close();
        // The journal stays; the login mark goes with the program.
        QStringList expected{"Anna.gfj", "Anna.mnu", "AnnaBK.dat", "AnnaBS.dat", "AnnaTS.dat",
                             "AnnaWS.dat"};
        QCOMPARE(p.dataFiles(), expected);
    }

    void startUpStopsAtTheFirstMissingFileWithoutTheClosingScreen()
    {
        TestProgram p;
        setInstallSettingsFileForTests(p.dir.path() + "/none.ini");
        QDir(p.dir.path()).mkpath("BMP");
        QFile(p.dir.path() + "/BMP/abdruck_1.BMP").open(QIODevice::WriteOnly); // any case
        ScopedMessageHook hook;
        QVERIFY(!p.win->startUp());
        setInstallSettingsFileForTests(QString());
        QVERIFY(p.win->CloseWithoutQuestion);
        QCOMPARE(p.sink.entries.size(), 1);
        QVERIFY(p.sink.last().startsWith("Die Datei \"Abdruck_2.bmp\"\n\r konnte"));
        QCOMPARE(p.ctx.paths.BmpDir, p.ctx.paths.ProgramDir + "BMP/");
    }

    void smallOrPaleScreensAskBeforeStarting_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("runs");
        QTest::newRow("640x480, Ja") << QSize(640, 480) << 32 << int(mrYes) << true;
        QTest::newRow("640x480, Nein") << QSize(640, 480) << 32 << int(mrNo) << false;
        QTest::newRow("8 bit, Abbrechen") << QSize(800, 600) << 8 << int(mrCancel) << false;
        QTest::newRow("800x600, 16 bit") << QSize(800, 600) << 16 << int(mrNo) << true;
    }

    void smallOrPaleScreensAskBeforeStarting()
    {
        QFETCH(QSize, screen);
        QFETCH(int, depth);
        QFETCH(int, answer);
        QFETCH(bool, runs);
        const QString install = qEnvironmentVariable("GF_INSTALL_DIR");
        if (!QFile::exists(install + "/BMP"))
            QSKIP("needs the built installation folder");
        TestProgram p;
        setInstallSettingsFileForTests(p.dir.path() + "/none.ini");
        setScreenForTests(screen, depth);
        p.ctx.paths.ProgramDir = QDir(install).absolutePath() + "/";
        p.ctx.ScreenWidth = screen.width();
        p.ctx.ScreenHeight = screen.height();
        ScopedMessageHook hook(answer);
        QCOMPARE(p.win->startUp(), runs);
        setScreenForTests(QSize(), 0);
        setInstallSettingsFileForTests(QString());
        QCOMPARE(p.win->CloseWithoutQuestion, !runs);
        const bool asked = screen.width() < 800 || depth < 16;
        QCOMPARE(hook.count(), asked ? 1 : 0);
        if (asked)
            QCOMPARE(hook.last().kind, int(mkBitteBestaetigen));
        // The work-area screen is ready either way: the close request comes later.
        QVERIFY(p.win->startedUp());
        QCOMPARE(p.win->size(), screen);
    }

    void missingItemTableIsReportedAfterLogin()
    {
        TestProgram p;
        ScopedMessageHook hook;
        p.login("Clara");
        bool warned = false;
        for (const auto& m : hook.messages())
            warned |= m.text.startsWith("Achtung: die Datei std.cfg konnte leider nicht gefunden");
        QVERIFY(warned);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstMainWin)
#include "tst_mainwin.moc"
