#include "support/ManualStepClock.h"

#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/tMemoExercise.h"

#include <QSignalSpy>
#include <QtTest>

using namespace gf;
using namespace std::chrono_literals;
using Phase = tMemoExercise::Phase;
using memo::StageShow;

namespace gf::test {

namespace {

class FakeMedia final : public MemoMedia
{
public:
    bool hasPicture(int item) override { return !noPicture.contains(item); }
    Start playSound(int item) override
    {
        played << item;
        playing = !soundFails.contains(item);
        return playing ? Start::Playing : Start::Missing;
    }
    void stopSound() override { playing = false; }
    QString picturePath(int item) const override { return QString("/bmp/%1").arg(item); }
    QString soundPath(int item) const override { return QString("/wav/%1").arg(item); }

    QSet<int> noPicture, soundFails;
    QVector<int> played;
    bool playing = false;
};

} // namespace

class TstMemoExercise : public QObject
{
    Q_OBJECT

    ManualStepClock clock;
    FakeMedia media;
    std::unique_ptr<Random> random;
    std::unique_ptr<tMemoExercise> ex;
    tBmpSndStat stat;

    void make(int mode, int level, int tasks)
    {
        ex.reset();
        media = FakeMedia{};
        random = std::make_unique<Random>(99);
        ex = std::make_unique<tMemoExercise>(*random, media, clock);
        stat = tBmpSndStat{};
        ex->prepare(mode, level, tasks, &stat);
    }
    static std::chrono::milliseconds presentation(int events) { return events * 4100ms + 1000ms; }
    void answer(const QVector<int>& items)
    {
        for (int item : items) {
            QVERIFY(ex->Click(item + 1));
            clock.advance(tMemoExercise::KeyPressEffect);
        }
    }
    QVector<int> wrong() const
    {
        QVector<int> w = ex->items();
        w.last() = (w.last() + 1) % 10;
        return w;
    }
    // One task from its start (by the button or by the end of a right feedback) to
    // the end of its feedback.
    void task(bool right)
    {
        if (ex->phase() != Phase::Presenting)
            QVERIFY(ex->startTask());
        clock.advance(presentation(int(ex->items().size())));
        QCOMPARE(ex->phase(), Phase::Answering);
        answer(right ? ex->items() : wrong());
        QCOMPARE(ex->phase(), Phase::Feedback);
        QCOMPARE(ex->lastCorrect(), right);
        clock.advance(tMemoExercise::FeedbackTime);
    }

private slots:
    void initTestCase() { timing::setScale(1.0); }

    void eventsKeepTheirScheduleAndTheirSoundEndsWithThem()
    {
        make(3, 3, 1);
        const SteadyTime t0 = clock.now();
        QStringList log; // ms after the start: step on the stage (0 = empty)
        connect(ex.get(), &tMemoExercise::stageChanged, this, [&] {
            log << QString("%1:%2").arg((clock.now() - t0) / 1ms).arg(ex->stageStep());
            if (ex->stageStep() == 0)
                QVERIFY(!media.playing); // cut off as the event leaves
        });
        QVERIFY(ex->startTask());
        QVERIFY(!ex->startTask());
        clock.advance(presentation(3) - 1ms);
        QCOMPARE(ex->phase(), Phase::Presenting);
        QVERIFY(!ex->Click(1));
        clock.advance(1ms);
        QCOMPARE(ex->phase(), Phase::Answering);
        QCOMPARE(log, QStringList({"1000:1", "4100:0", "5100:2", "8200:0", "9200:3", "12300:0"}));
        QCOMPARE(media.played, ex->items());
        QVERIFY(ex->answer().isEmpty());
    }

    void answerEntryTakesOnlyWhatItShould()
    {
        make(2, 4, 2);
        QSignalSpy keys(ex.get(), &tMemoExercise::keyPressChanged);
        ex->startTask();
        clock.advance(presentation(4));
        const QVector<int> items = ex->items();
        QVERIFY(ex->Click(items[0] + 1));
        QVERIFY(!ex->Click(items[1] + 1)); // the first click is still being handled
        QVERIFY(!ex->restart());
        clock.advance(tMemoExercise::KeyPressEffect);
        QCOMPARE(keys.count(), 2);
        QVERIFY(ex->Click(items[1] + 1));
        clock.advance(tMemoExercise::KeyPressEffect);
        QCOMPARE(ex->answer(), items.mid(0, 2));
        QVERIFY(media.played.isEmpty()); // seen only: no sound, not even on a click

        // "Neu eingeben" after two of four: four clicks are needed again
        QVERIFY(ex->restart());
        QVERIFY(ex->answer().isEmpty());
        answer(wrong().mid(0, 3));
        QCOMPARE(ex->phase(), Phase::Answering);
        answer(wrong().mid(3));
        QCOMPARE(ex->phase(), Phase::Feedback);
        QCOMPARE(ex->correctSeq(), memo::sequenceText(items));
        QVERIFY(!ex->Click(1)); // after the answer
        QVERIFY(!ex->restart());
        QCOMPARE(ex->answer(), wrong());
        clock.advance(tMemoExercise::FeedbackTime - 1ms);
        QCOMPARE(ex->phase(), Phase::Feedback);
        clock.advance(1ms);
        QCOMPARE(ex->phase(), Phase::WaitingForStart); // a wrong answer waits for the trainee
    }

    // Typed quicker than a press shows, the keys wait their turn; a click still cannot
    // come twice within one press.
    void typedKeysWaitTheirTurn()
    {
        make(2, 4, 1);
        ex->startTask();
        clock.advance(presentation(4));
        const QVector<int> items = ex->items();
        for (int item : items)
            QVERIFY(ex->Type(item + 1));
        QVERIFY(!ex->Type(1)); // one more than the sequence has
        QVERIFY(!ex->Click(1));
        QCOMPARE(ex->answer(), items.mid(0, 1));
        clock.advance(3 * tMemoExercise::KeyPressEffect);
        QCOMPARE(ex->answer(), items);
        QCOMPARE(ex->phase(), Phase::Answering);
        clock.advance(tMemoExercise::KeyPressEffect);
        QCOMPARE(ex->phase(), Phase::Feedback);
        QVERIFY(ex->lastCorrect());
    }

    void blocksAdaptTheLevelAndTheLastTaskEndsTheExercise()
    {
        // right, right at 4; then one right at 5: the odd last task ends it
        make(2, 4, 3);
        QSignalSpy finished(ex.get(), &tMemoExercise::exerciseFinished);
        task(true);
        QCOMPARE(ex->phase(), Phase::Presenting); // a right answer goes straight on
        task(true);
        QCOMPARE(stat.BestSpan, 4);
        QCOMPARE(ex->level(), 5);
        task(true);
        QCOMPARE(ex->phase(), Phase::Finished); // 2.5 s after the last right answer
        QCOMPARE(finished.count(), 1);
        QCOMPARE(stat.Trials[5], 1);
        QCOMPARE(int(stat.MinLevel), 4);
        QCOMPARE(int(stat.MaxLevel), 4); // the single last task closed no block
        QCOMPARE(memo::graphBars(stat).size(), 1);
        QVERIFY(!ex->startTask());

        // wrong, wrong at 3; a wrong last answer waits for "Beenden"
        make(2, 3, 2);
        QSignalSpy ended(ex.get(), &tMemoExercise::exerciseFinished);
        task(false);
        QCOMPARE(ex->phase(), Phase::WaitingForStart);
        task(false);
        QCOMPARE(ex->phase(), Phase::Ending);
        QVERIFY(ex->finished()); // closing needs no question now
        QCOMPARE(ended.count(), 0);
        QCOMPARE(ex->level(), 2);
        QCOMPARE(stat.Trials[3], 2);
        QCOMPARE(stat.Correct[3], 0); // a wrong answer counts as a trial only
        QCOMPARE(stat.BestSpan, NoValue);
        QVERIFY(ex->startTask());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ex->phase(), Phase::Finished);

        // A stored level outside what an exercise starts with is held to it.
        for (auto [stored, starts] : {std::pair{25, 17}, {0, 1}, {-3, 1}}) {
            make(2, stored, 2);
            QCOMPARE(ex->level(), starts);
        }
    }

    void pauseKeepsTheTimeLeft()
    {
        make(2, 2, 2);
        ex->startTask();
        clock.advance(1500ms); // event 1 on the stage, 2600 ms left
        ex->Pause();
        ex->Pause(); // help opened from within the abort question
        clock.advance(10s);
        ex->resume();
        clock.advance(10s);
        QCOMPARE(ex->stageStep(), 1);
        ex->resume();
        clock.advance(2599ms);
        QCOMPARE(ex->stageStep(), 1);
        clock.advance(1ms);
        QCOMPARE(ex->stageStep(), 0);

        ex->Stop();
        QCOMPARE(ex->phase(), Phase::Idle);
        QVERIFY(!clock.anyActive());
    }

    void missingMediaIsToldOnceAndNeverHoldsThePresentation()
    {
        make(3, 4, 2);
        QSignalSpy missing(ex.get(), &tMemoExercise::mediaMissing);
        for (int i = 0; i < 10; ++i) {
            media.noPicture << i;
            media.soundFails << i;
        }
        QVector<StageShow> shown;
        connect(ex.get(), &tMemoExercise::stageChanged, this, [&] {
            if (ex->stageStep())
                shown << ex->stageShow();
        });
        ex->startTask();
        const int first = ex->items()[0];
        task(true);
        task(true);
        QCOMPARE(shown, QVector<StageShow>(8, StageShow::Number));
        QCOMPARE(missing.count(), 1);
        QCOMPARE(missing.at(0).at(0).toString(), QString("/bmp/%1").arg(first));

        make(1, 3, 1); // a sound that fails is seen instead
        media.soundFails << 0 << 1 << 2 << 3 << 4 << 5 << 6 << 7 << 8 << 9;
        QSignalSpy again(ex.get(), &tMemoExercise::mediaMissing);
        ex->startTask();
        clock.advance(1000ms);
        QCOMPARE(ex->stageShow(), StageShow::Picture);
        QCOMPARE(again.count(), 1); // a new exercise tells again
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstMemoExercise)
#include "tst_memoexercise.moc"
