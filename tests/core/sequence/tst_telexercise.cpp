#include "support/ManualStepClock.h"

#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/TelRules.h"
#include "core/sequence/tTelExercise.h"

#include <QSignalSpy>
#include <QtTest>

using namespace gf;
using namespace std::chrono_literals;
using Phase = tTelExercise::Phase;

namespace gf::test {

namespace {

// Plays by the manual clock: a sound lasts `length` unless told otherwise.
class FakeAudio final : public TelAudio
{
public:
    explicit FakeAudio(test::ManualStepClock& clock) : m_clock(clock) {}

    QString checkSound() override { return failReason; }
    Start play(const QString& fileName) override
    {
        played << fileName;
        if (missing.contains(fileName))
            return Start::Missing;
        if (broken.contains(fileName))
            return Start::Failed;
        m_end = endless.contains(fileName) ? SteadyTime::max() : m_clock.now() + length;
        return Start::Playing;
    }
    bool isPlaying() override { return m_clock.now() < m_end; }
    void Stop() override { m_end = m_clock.now(); }
    QString pathOf(const QString& fileName) const override { return "/snd/" + fileName; }
    std::chrono::milliseconds duration(const QString&) const override { return fileLength; }

    QStringList digitsPlayed() const
    {
        QStringList out;
        for (const QString& f : played)
            if (f.size() == 5 && f.endsWith(".wav"))
                out << f.left(1);
        return out;
    }

    QString failReason;
    QStringList missing, broken, endless, played;
    std::chrono::milliseconds length{300};
    std::chrono::milliseconds fileLength{0};

private:
    test::ManualStepClock& m_clock;
    SteadyTime m_end{};
};

} // namespace

class TstTelExercise : public QObject
{
    Q_OBJECT

    test::ManualStepClock clock;
    std::unique_ptr<FakeAudio> audio;
    std::unique_ptr<Random> random;
    std::unique_ptr<tTelExercise> ex;
    tTeleStat stat;

    void make(int mode, int level, int tasks)
    {
        ex.reset();
        audio = std::make_unique<FakeAudio>(clock);
        random = std::make_unique<Random>(4711);
        ex = std::make_unique<tTelExercise>(*random, *audio, clock);
        stat = tTeleStat{};
        ex->prepare(mode, level, tasks, &stat);
    }
    // Runs time until the trainee may dial (or `limit` passes).
    void untilDialling(std::chrono::milliseconds limit = 60s)
    {
        for (auto t = 0ms; t < limit && ex->phase() == Phase::Presenting; t += 5ms)
            clock.advance(5ms);
        QCOMPARE(ex->phase(), Phase::Dialling);
    }
    void dial(const QString& digits)
    {
        for (QChar c : digits)
            QVERIFY(ex->dial(c.digitValue()));
    }
    QString wrongFor(const QString& number)
    {
        QString w = number;
        w[0] = number[0] == u'9' ? u'1' : QChar(number[0].unicode() + 1);
        return w;
    }
    // One whole task, answered right or wrong, up to the pause or the end.
    void task(bool right)
    {
        if (ex->phase() == Phase::Pausing)
            clock.advance(tTelExercise::NextTaskDelay);
        else
            ex->startTask();
        untilDialling();
        dial(right ? ex->number() : wrongFor(ex->number()));
        for (int i = 0; i < 1000 && ex->phase() == Phase::Evaluating; ++i)
            clock.advance(10ms);
        QVERIFY(ex->phase() == Phase::Pausing || ex->phase() == Phase::Finished);
    }

private slots:
    void initTestCase() { timing::setScale(1.0); }

    void readModeShowsOneDigitPerSecondAndOnlyThenTakesInput()
    {
        make(2, 5, 2);
        QSignalSpy shown(ex.get(), &tTelExercise::digitShown);
        ex->startTask();
        const QString number = ex->number();
        QCOMPARE(number.size(), 5);
        clock.advance(10ms);
        QCOMPARE(ex->display(), QString(number[0]) + " - - - - ");
        QVERIFY(!ex->dial(1)); // presenting: ignored
        QVERIFY(!ex->hangUp());
        QCOMPARE(ex->digitsEntered(), 0);
        clock.advance(999ms);
        QCOMPARE(shown.count(), 1);
        clock.advance(1ms);
        QCOMPARE(shown.count(), 2);
        clock.advance(3000ms);
        QCOMPARE(tel::dialled(ex->display()), number);
        QCOMPARE(ex->phase(), Phase::Presenting);
        clock.advance(1000ms);
        QCOMPARE(ex->phase(), Phase::Dialling);
        QCOMPARE(ex->display(), QString("- - - - - "));
        QVERIFY(audio->digitsPlayed().isEmpty()); // read mode speaks no digit

        // hanging up starts the dialling again; a wrong number is answered, then a pause
        dial(number.left(3));
        QVERIFY(ex->hangUp());
        QCOMPARE(ex->display(), QString("- - - - - "));
        audio->played.clear();
        dial(wrongFor(number));
        QCOMPARE(ex->phase(), Phase::Evaluating);
        QVERIFY(!ex->dial(3)); // evaluation plays its sounds: ignored
        QCOMPARE(audio->played, QStringList{"Wahlton.WAV"});
        clock.advance(tTelExercise::ShortestFeedback);
        QCOMPARE(ex->display(), QString("Falsch verbunden"));
        QCOMPARE(ex->tone(), tTelExercise::Tone::Wrong);
        QVERIFY(audio->played.last().startsWith('N'));
        clock.advance(tTelExercise::ShortestFeedback);
        QCOMPARE(ex->phase(), Phase::Pausing);
        QCOMPARE(ex->display(), QString());
        clock.advance(499ms);
        QCOMPARE(ex->phase(), Phase::Pausing);
        clock.advance(1ms);
        QCOMPARE(ex->phase(), Phase::Presenting);
        QCOMPARE(ex->tasksDone(), 2);
    }

    void blocksOfTwoAdaptTheLengthAndFillTheRecord()
    {
        // right, right at 5; then wrong, wrong at 6; then one right at 5 (odd count)
        make(1, 5, 5);
        task(true);
        task(true);
        QCOMPARE(stat.BestSpan, 5);
        QCOMPARE(ex->curLength(), 6);
        task(false);
        QCOMPARE(ex->numLength(), 6);
        task(false);
        QCOMPARE(ex->curLength(), 5);
        task(true);
        QCOMPARE(ex->phase(), Phase::Finished);
        QCOMPARE(ex->curLength(), 5); // a single task does not adapt
        QCOMPARE(stat.Trials[5], 3);
        QCOMPARE(stat.Correct[5], 3);
        QCOMPARE(stat.Trials[6], 2);
        QCOMPARE(stat.Correct[6], 0);
        QCOMPARE(int(stat.MinLevel), 5);
        QCOMPARE(int(stat.MaxLevel), 6);
        ex->startTask(); // nothing after the last task
        QCOMPARE(ex->tasksDone(), 5);

        make(2, 14, 2); // a stored level above 12 starts at 12
        QCOMPARE(ex->curLength(), 12);
        QCOMPARE(int(stat.MaxLevel), 12);
        QCOMPARE(stat.BestSpan, NoValue);
    }

    void spokenDigitsWaitForTheirRecording()
    {
        make(1, 4, 2);
        audio->length = 700ms;
        QSignalSpy shown(ex.get(), &tTelExercise::digitShown);
        ex->startTask();
        clock.advance(10ms);
        QCOMPARE(ex->display(), QString("* - - - "));
        clock.advance(700ms + tTelExercise::SpokenDigitGap - 1ms);
        QCOMPARE(shown.count(), 1); // still the first recording and its gap
        clock.advance(15ms);
        QCOMPARE(shown.count(), 2);
        untilDialling();
        QCOMPARE(audio->digitsPlayed(), QStringList(ex->number().split("", Qt::SkipEmptyParts)));
    }

    void brokenDigitFilesNeverHoldThePresentation()
    {
        make(1, 6, 2);
        QSignalSpy missing(ex.get(), &tTelExercise::digitFileMissing);
        for (int d = 0; d <= 9; ++d)
            (d % 3 == 0   ? audio->missing
             : d % 3 == 1 ? audio->broken
                          : audio->endless)
                << QString("%1.wav").arg(d);
        QString full; // the display once every digit was given
        connect(ex.get(), &tTelExercise::displayChanged, this, [&] {
            if (ex->phase() == Phase::Presenting && !ex->display().contains(u'-'))
                full = ex->display();
        });
        ex->startTask();
        untilDialling(6 * (tTelExercise::LongestSound + 100ms));
        QCOMPARE(audio->digitsPlayed().size(), 6); // each digit tried exactly once
        // what could not be heard is shown; what was heard (if cut off) stays a star
        QString expected;
        int expectedMissing = 0;
        for (QChar c : ex->number()) {
            expected += c.digitValue() % 3 == 2 ? QChar(u'*') : c;
            expectedMissing += c.digitValue() % 3 == 0;
        }
        QCOMPARE(tel::dialled(full), expected);
        QCOMPARE(missing.count(), expectedMissing);
    }

    void feedbackStaysReadableWithoutSound()
    {
        // heard: a short dial tone still gives the dialled number its time before the verdict
        make(2, 3, 2);
        audio->length = 1ms;
        ex->startTask();
        untilDialling();
        dial(ex->number());
        clock.advance(tTelExercise::ShortestFeedback - 20ms);
        QCOMPARE(ex->phase(), Phase::Evaluating);
        QVERIFY(!ex->display().contains("Verbunden"));
        clock.advance(40ms);
        QVERIFY(ex->display().contains("Verbunden!"));

        // not heard: the verdict stays as long as its recording would have lasted
        make(2, 3, 2);
        audio->fileLength = 2500ms;
        for (int i = 1; i <= 20; ++i)
            audio->broken << QString("N%1.WAV").arg(i);
        audio->broken << "Wahlton.WAV";
        ex->startTask();
        untilDialling();
        dial(wrongFor(ex->number()));
        clock.advance(2500ms + 20ms);
        QVERIFY(ex->display().contains("Falsch verbunden"));
        clock.advance(2500ms - 40ms);
        QCOMPARE(ex->phase(), Phase::Evaluating);
        clock.advance(40ms);
        QCOMPARE(ex->phase(), Phase::Pausing);
    }

    void feedbackNeverRepeatsThePreviousSound()
    {
        make(2, 3, 60);
        audio->length = 1ms;
        QStringList right, wrong;
        for (int i = 0; i < 60; ++i) {
            task(i % 3 != 0);
            const QString f = audio->played.last();
            (f.startsWith('J') ? right : wrong) << f;
        }
        for (const auto* list : {&right, &wrong})
            for (int i = 1; i < list->size(); ++i)
                QVERIFY2(list->at(i) != list->at(i - 1), qPrintable(list->at(i)));
        for (const QString& f : right + wrong) {
            const int n = f.mid(1, f.size() - 5).toInt();
            QVERIFY2(n >= 1 && n <= (f.startsWith('J') ? 17 : 20), qPrintable(f));
        }
    }

    void pauseKeepsTheTimeLeft()
    {
        make(2, 5, 2);
        QSignalSpy shown(ex.get(), &tTelExercise::digitShown);
        ex->startTask();
        clock.advance(10ms + 400ms);
        ex->Pause();
        ex->Pause(); // help opened from within a question
        clock.advance(5s);
        ex->resume();
        clock.advance(5s);
        QCOMPARE(shown.count(), 1);
        ex->resume();
        clock.advance(599ms);
        QCOMPARE(shown.count(), 1);
        clock.advance(1ms);
        QCOMPARE(shown.count(), 2);
    }

    void stopEndsEverything()
    {
        make(1, 5, 2);
        ex->startTask();
        clock.advance(10ms);
        ex->Stop();
        QCOMPARE(ex->phase(), Phase::Idle);
        QVERIFY(!clock.anyActive());
        QVERIFY(!audio->isPlaying());
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstTelExercise)
#include "tst_telexercise.moc"
