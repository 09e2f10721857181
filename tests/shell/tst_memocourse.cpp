#include "support/TestProgram.h"
#include "support/Memory.h"

#include "core/sequence/tMemoExercise.h"
#include "exercises/results/tGraphPanel.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TBmpSndGraphDlg.h"
#include "toolkit/THelpWin.h"
#include "toolkit/TImage.h"
#include "toolkit/TSkinButton.h"
#include "toolkit/TxMsgDlg.h"

#include <QBackingStore>
#include <QtTest>

#include <unistd.h>

using namespace gf;
using gf::test::TestProgram;
using Phase = tMemoExercise::Phase;

namespace gf::test {

namespace {

// Plays the trainee through whatever window of the course is open: the first task is
// clicked on the keys, the second typed on the keyboard; all by keys when `keyboard` is
// set.
class Trainee : public test::CourseTrainee
{
public:
    // Runs first at every look at the exercise; true when it has dealt with it.
    std::function<bool(TBMPPresentDlg&)> duringExercise;
    QStringList seen; // what the trainee noticed, in order
    // While an event was on the stage: the memory locked, and what the window paints from.
    qint64 lockedKiB = 0;
    qint64 paintKiB = 0;
    qint64 stagePictureKiB = 0;

    Trainee()
    {
        on<TBMPPresentDlg>([this](TBMPPresentDlg& memo) {
            if (!duringExercise || !duringExercise(memo))
                exercise(memo);
        });
        on<TBmpSndGraphDlg>([this](TBmpSndGraphDlg& graph) {
            QStringList bars;
            for (const tBarValue& b : graph.LevelChart->Bars())
                bars << QString("%1 %2").arg(b.Caption).arg(b.Value);
            seen << graph.LevelChart->Title() << bars.join(", ");
            return false;
        });
    }

private:
    void exercise(TBMPPresentDlg& dlg)
    {
        tMemoExercise& ex = dlg.Exercise();
        const int task = ex.tasksDone();
        if (ex.phase() == Phase::Ready) {
            if (keyboard)
                key(&dlg, Qt::Key_Return);
            else
                QTest::mouseClick(dlg.StartPanel, Qt::LeftButton);
        } else if (ex.phase() == Phase::Presenting && ex.stageStep() == 2) {
            shot(&dlg, "_presenting");
            lockedKiB = test::lockedKiB();
            const auto* store = dynamic_cast<const QImage*>(dlg.backingStore()->paintDevice());
            paintKiB = (store ? store->sizeInBytes() : 0) / 1024;
            stagePictureKiB = dlg.Image->picture().toImage().sizeInBytes() / 1024;
        } else if (ex.phase() == Phase::Feedback && m_noted != task) {
            m_noted = task;
            seen << QString("%1 %2%3")
                        .arg(ex.lastCorrect() ? "right" : "wrong")
                        .arg(dlg.Pnl->palette().color(QPalette::Window).name())
                        .arg(dlg.CorrectPanel->isVisible() ? " correct shown" : "");
            shot(&dlg, ex.lastCorrect() ? "_right" : "_wrong");
        } else if (ex.phase() == Phase::Ending) {
            seen << dlg.StartPanel->text();
            key(&dlg, Qt::Key_Return);
        } else if (ex.phase() == Phase::Answering && ex.keypadActive()) {
            QVector<int> answer = ex.items();
            // A wrong answer puts in the tenth event (typed as 0) where it does not belong.
            if (!right(task - 1))
                *std::find_if(answer.begin(), answer.end(), [](int i) { return i != 9; }) = 9;
            const int next = int(ex.answer().size());
            if (next == 1)
                shot(&dlg, "_answering");
            const int key = answer[next] + 1;
            if (task == 2 || keyboard)
                ModalPlayer::key(&dlg, Qt::Key_0 + key % 10);
            else
                QTest::mouseClick(dlg.TastKeys[std::size_t(key - 1)], Qt::LeftButton);
        }
    }

    int m_noted = 0;
};

} // namespace

class TstMemoCourse : public QObject
{
    Q_OBJECT

private slots:
    void fromDoorFourToTheSavedRecord_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<bool>("keyboard");
        QTest::newRow("800x600") << QSize(800, 600) << false;
        QTest::newRow("1024x768 by keys alone") << QSize(1024, 768) << true;
    }

    void fromDoorFourToTheSavedRecord()
    {
        QFETCH(QSize, screen);
        QFETCH(bool, keyboard);
        TestProgram p;
        ScopedMessageHook messages;
        p.setScreen(screen);
        p.login("Falke");
        p.data.CurrentUser->MemoLevel[2] = 3;
        p.data.CurrentUser->MemoLevel[1] = 5;
        messages.clear(); // the item-table notice of the login

        Trainee trainee;
        trainee.keyboard = keyboard;
        trainee.answers = {true, false};
        trainee.shotTag = QString("_%1x%2").arg(screen.width()).arg(screen.height());
        trainee.pdf = p.keptFile("memo_graph" + trainee.shotTag + ".pdf");
        p.win->Image4Click();

        QVERIFY2(messages.isEmpty(), qPrintable(messages.texts().join(" | ")));
        QCOMPARE(trainee.seen,
                 QStringList({"right #52bfa0", "wrong #800080 correct shown", "Beenden",
                              "Memo-Protokoll (nur Sehen, 2 Übungen)", "% Länge 3 50"}));
        QCOMPARE(trainee.tipKind, ExerciseKind::Memo);
        QVERIFY(QFileInfo(trainee.pdf).size() > 0);
        // Locked while presenting: the paint buffer and the task's pictures and numbers.
        if (::geteuid() == 0)
            QVERIFY2(trainee.lockedKiB >= trainee.paintKiB + 2 * trainee.stagePictureKiB &&
                         trainee.stagePictureKiB > 100,
                     qPrintable(QString("%1 KiB locked").arg(trainee.lockedKiB)));
        QCOMPARE(p.data.MemoStatList.size(), 1);
        const tBmpSndStat r = p.data.MemoStatList.first();
        QCOMPARE(r.Mode, 2);
        QCOMPARE(r.TaskCount, 2);
        QCOMPARE(r.Trials[3], 2);
        QCOMPARE(r.Correct[3], 1);
        QCOMPARE(r.BestSpan, NoValue);
        QVERIFY(p.ctx.MemoTipNo >= 1 && p.ctx.MemoTipNo <= 9);
        QCOMPARE(p.data.CurrentUser->MemoLevel[2], 1);

        // Closing the program files the record and rewrites the user file.
        tBmpSndStat stored;
        const WalkedRecords all = p.closeAndReadStored();
        QCOMPARE(all.Memo.size(), 1);
        stored = all.Memo[0];
        QCOMPARE(stored, r);
        const auto user = p.storedUser();
        QVERIFY(user);
        QCOMPARE(user->MemoLevel[2], 1);
        QCOMPARE(user->MemoLevel[1], 5);
    }

    // Escape asks once in every state; Nein goes on as if nothing had happened, Ja
    // ends the exercise and keeps nothing. The sounds are missing: the trainee is told
    // once and the events are seen all the same.
    void abortAnsweredNoGoesOnAndYesStoresNothing()
    {
        TestProgram p;
        QTemporaryDir noSounds;
        p.ctx.paths.WavDir = noSounds.path() + "/";
        ScopedMessageHook messages(mrNo);
        p.login("Eule");
        p.data.CurrentUser->MemoLevel[3] = 4;
        messages.clear();
        timing::setScale(0.05); // long enough to ask within an event on a busy machine

        QStringList resumed;
        Trainee trainee;
        trainee.mode = 3;
        trainee.duringExercise = [&](TBMPPresentDlg& dlg) {
            tMemoExercise& ex = dlg.Exercise();
            const Phase phase = ex.phase();
            if (phase == Phase::Presenting && resumed.isEmpty() && ex.stageStep() >= 1) {
                const auto left = ex.stageOnset() + timing::scaled(tMemoExercise::EventOnStage) -
                                  std::chrono::steady_clock::now();
                if (left < std::chrono::milliseconds(80))
                    return true;
                // The question stays open longer than the event would have lasted.
                const int step = ex.stageStep();
                bool stageHidden = false;
                messages.setHandler([&](const ScopedMessageHook::Message&) {
                    stageHidden = dlg.ImagePanel->isHidden();
                    QTest::qSleep(250);
                    return int(mrNo);
                });
                QTest::keyClick(&dlg, Qt::Key_Escape);
                messages.setHandler({});
                QTest::qWait(30);
                // the event is out of sight while the question is open, and back after
                resumed << (ex.stageStep() == step ? "presenting held" : "presenting moved on") +
                               QString(stageHidden && !dlg.ImagePanel->isHidden() ? ", hidden" : "");
            } else if (phase == Phase::Answering && resumed.size() == 1 && ex.keypadActive()) {
                QTest::keyClick(&dlg, Qt::Key_Escape);
                QString help; // the page opened, and whether the exercise waited meanwhile
                const HelpPageHook previous = setHelpPageHook([&](const QString& path) {
                    help = QFileInfo(path).fileName() + (ex.paused() ? " paused" : "");
                });
                QTest::mouseClick(dlg.HelpBtn, Qt::LeftButton);
                setHelpPageHook(previous);
                QTest::keyClick(&dlg, Qt::Key(Qt::Key_0 + (ex.items()[0] + 1) % 10));
                resumed << QString("answering %1 %2").arg(ex.answer().size()).arg(help);
            } else if (phase == Phase::Feedback && resumed.size() == 2) {
                QTest::keyClick(&dlg, Qt::Key_Escape);
                resumed << QString("feedback %1").arg(ex.tasksDone());
            } else if (phase == Phase::Presenting && resumed.size() == 3) {
                resumed << QString("task %1").arg(ex.tasksDone());
                messages.answer(mrYes);
                QTest::keyClick(&dlg, Qt::Key_Escape);
            } else {
                return false;
            }
            return true;
        };
        p.win->Image4Click();

        QCOMPARE(resumed, QStringList({"presenting held, hidden", "answering 1 hlp14.rtf paused",
                                       "feedback 1", "task 2"}));
        QCOMPARE(trainee.seen, QStringList{"right #52bfa0"}); // no graph
        // The missing sounds once, then one question per Escape.
        QCOMPARE(messages.count(), 5);
        QVERIFY(messages.texts()[0].startsWith(noSounds.path()));
        QCOMPARE(messages.messages().first().kind, int(mkHinweis));
        QCOMPARE(messages.texts().mid(1), QStringList(4, "Möchten Sie wirklich abbrechen?"));
        QCOMPARE(messages.last().kind, int(mkBitteBestaetigen));
        QVERIFY(p.data.MemoStatList.isEmpty());
        QCOMPARE(p.data.CurrentUser->MemoLevel[3], 4);
        QVERIFY(p.ctx.ExerciseStarted);
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstMemoCourse)
#include "tst_memocourse.moc"
