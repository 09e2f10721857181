#include "core/data/Records.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/results/tGraphPanel.h"
#include "exercises/sequence/TTelDlg.h"
#include "exercises/sequence/TTeleGraphDlg.h"
#include "support/TestProgram.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include "sys/DataFiles.h"

#include <QLockFile>
#include <QtTest>

using namespace gf;
using gf::test::TestProgram;
using Phase = tTelExercise::Phase;

namespace gf::test {

namespace {

// Plays the trainee through whatever window of the course is open.
class Trainee : public test::CourseTrainee
{
public:
    // Instead of dialling, once the exercise has started.
    std::function<void(TTelDlg&)> duringExercise;

    QList<double> graphValues;
    QString graphTitle;
    std::function<void()> atGraph;

    Trainee()
    {
        on<TTelDlg>([this](TTelDlg& tel) { exercise(tel); });
        on<TTeleGraphDlg>([this](TTeleGraphDlg& graph) {
            if (atGraph)
                atGraph();
            graphTitle = graph.LevelChart->Title();
            for (const tBarValue& b : graph.LevelChart->Bars())
                graphValues << b.Value;
            return false;
        });
    }

private:
    void exercise(TTelDlg& tel)
    {
        tTelExercise& ex = tel.Exercise();
        if (ex.phase() == Phase::Ready) {
            if (keyboard)
                key(&tel, Qt::Key_Return);
            else
                QTest::mouseClick(tel.StartPanel, Qt::LeftButton);
        } else if (duringExercise) {
            duringExercise(tel);
        } else if (ex.phase() == Phase::Dialling) {
            QString number = ex.number();
            if (!right(ex.tasksDone() - 1))
                number[0] = number[0] == u'9' ? u'8' : QChar(number[0].unicode() + 1);
            for (QChar c : number)
                if (keyboard)
                    key(&tel, Qt::Key_0 + c.digitValue());
                else
                    QTest::mouseClick(tel.Buttons[std::size_t(c.digitValue())], Qt::LeftButton);
        }
    }
};

} // namespace

class TstTelCourse : public QObject
{
    Q_OBJECT

private slots:
    void storedBeforeItsGraphAndNeverDroppedInSilence()
    {
        TestProgram p;
        ScopedMessageHook messages(mrIgnore);
        p.login("Falke");
        messages.clear();
        Trainee trainee;
        qsizetype storedAtGraph = -1;
        trainee.atGraph = [&] {
            const auto user = p.storedUser();
            storedAtGraph = user ? storedRecords(*user).Tel.size() : -1;
        };
        p.win->Image3Click();
        QCOMPARE(storedAtGraph, 1);
        QVERIFY(messages.isEmpty());

        // Another program holds the data folder: the trainee is asked, goes on without
        // saving, still sees the graph; the record is stored at exit.
        {
            QLockFile other(FolderLock::lockFileName(p.data.DataDir));
            other.setStaleLockTime(std::chrono::hours(1));
            QVERIFY(other.tryLock());
            storedAtGraph = -1;
            p.win->Image3Click();
            QCOMPARE(storedAtGraph, 1);
            QCOMPARE(messages.count(), 1);
            QCOMPARE(messages.last().buttons, btn::Retry | btn::Ignore);
            QVERIFY(messages.last().text.contains("nicht gespeichert"));
        }
        QCOMPARE(p.closeAndReadStored().Tel.size(), 2);
    }

    void fromDoorThreeToTheSavedRecord_data()
    {
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("mouse") << false;
        QTest::newRow("keys alone") << true;
    }

    void fromDoorThreeToTheSavedRecord()
    {
        QFETCH(bool, keyboard);
        TestProgram p;
        ScopedMessageHook messages;
        p.login("Falke");
        p.data.CurrentUser->TelLevel[2] = 6;
        messages.clear(); // the item-table notice of the login

        Trainee trainee;
        trainee.keyboard = keyboard;
        trainee.answers = {true, false};
        p.win->Image3Click();

        QCOMPARE(p.ctx.TelMode, 2);
        QCOMPARE(p.data.TelStatList.size(), 1);
        const tTeleStat r = p.data.TelStatList.first();
        QCOMPARE(r.Mode, 2);
        QCOMPARE(r.TaskCount, 2);
        QCOMPARE(r.Trials[6], 2);
        QCOMPARE(r.Correct[6], 1);
        QCOMPARE(r.BestSpan, NoValue);
        QCOMPARE(p.data.CurrentUser->TelLevel[2], 3);
        QCOMPARE(trainee.graphTitle, QString("Telefonvermittlung (nur Lesen, 2 Übungen)"));
        QCOMPARE(trainee.graphValues, QList<double>{50.0});
        QCOMPARE(trainee.tipKind, ExerciseKind::Tel);
        QVERIFY(p.win->BackImage->isHidden());
        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(" | ")));

        // Closing the program files the record and rewrites the user file.
        tTeleStat stored;
        const WalkedRecords all = p.closeAndReadStored();
        QCOMPARE(all.Tel.size(), 1);
        stored = all.Tel[0];
        QCOMPARE(stored, r);
        const auto user = p.storedUser();
        QVERIFY(user);
        QCOMPARE(user->TelLevel[2], 3);
        // written after the log, so that it lists it
        QCOMPARE(user->TelFiles,
                 QStringList{p.data.DataDir + "FalkeTS" + p.data.MonthTag() + ".dat"});
    }

    void abortAnsweredNoGoesOnAndYesStoresNothing()
    {
        TestProgram p;
        ScopedMessageHook messages;
        p.login("Eule");
        p.data.CurrentUser->TelLevel[1] = 7;
        messages.clear();
        timing::setScale(0.05); // a presentation the trainee cannot miss on a busy machine
        // "Nein" lets the presentation go on to the dialling; there "Ja" breaks off.
        bool wentOn = false, askedYes = false;
        Trainee trainee;
        trainee.mode = 1;
        trainee.duringExercise = [&](TTelDlg& tel) {
            if (!wentOn && tel.Exercise().phase() == Phase::Presenting) {
                messages.answer(mrNo);
                QTest::keyClick(&tel, Qt::Key_Escape);
                QTRY_COMPARE(tel.Exercise().phase(), Phase::Dialling);
                wentOn = true;
            } else if (wentOn && !askedYes) {
                askedYes = true;
                messages.answer(mrYes);
                QTest::keyClick(&tel, Qt::Key_Escape);
            }
        };
        p.win->Image3Click();

        QVERIFY(askedYes);
        QCOMPARE(messages.count(), 2);
        for (const auto& m : messages.messages())
            QCOMPARE(m.text, QString("Möchten Sie die Telefonvermittlung wirklich abbrechen?"));
        QVERIFY(p.data.TelStatList.isEmpty());
        QCOMPARE(p.data.CurrentUser->TelLevel[1], 7);
        QVERIFY(trainee.graphTitle.isEmpty());
        QVERIFY(p.ctx.ExerciseStarted);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstTelCourse)
#include "tst_telcourse.moc"
