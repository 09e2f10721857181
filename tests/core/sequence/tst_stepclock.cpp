// The timer group behind every exercise's schedule: pauses nest, a timer armed during a
// pause waits for its end, a handler may arm its own timer again, and a step's
// preparation comes before it.
#include "core/sequence/StepClock.h"
#include "support/ManualStepClock.h"

#include <QTest>

using namespace gf;
using namespace std::chrono_literals;

namespace gf::test {

class TstStepClock : public QObject
{
    Q_OBJECT

private slots:
    void pausesNestAndHoldWhatIsArmed()
    {
        ManualStepClock clock;
        StepTimerGroup group(clock);
        int fired = 0, other = 0;
        StepTimer& timer = group.add([&] { ++fired; });
        StepTimer& late = group.add([&] { ++other; });
        group.start(timer, 100ms);
        clock.advance(40ms);

        // A resume too many must not leave the group unable to pause.
        group.pause();
        group.resume();
        group.resume();
        group.pause();
        QVERIFY(group.paused());
        clock.advance(1s);
        QCOMPARE(fired, 0);

        // Armed during a pause: it starts when the pause ends, with its whole delay.
        group.pause();
        group.resume(); // still paused one level deep
        group.start(late, 50ms);
        clock.advance(1s);
        QCOMPARE(other, 0);
        group.resume();
        QVERIFY(!group.paused());
        clock.advance(49ms);
        QCOMPARE(other, 0);
        clock.advance(1ms);
        QCOMPARE(other, 1);
        QCOMPARE(fired, 0); // 60 ms were left of it
        clock.advance(10ms);
        QCOMPARE(fired, 1);
    }

    // On the program's own clock, a timer armed again in its handler fires again.
    void handlerMayRearmItsTimer()
    {
        StepTimerGroup group(preciseStepClock());
        int fired = 0;
        StepTimer* timer = nullptr;
        timer = &group.add([&] {
            if (++fired < 3)
                group.start(*timer, 2ms);
        });
        group.start(*timer, 2ms);
        QTRY_COMPARE_WITH_TIMEOUT(fired, 3, 5000);
        QTest::qWait(20);
        QCOMPARE(fired, 3);
        QVERIFY(!timer->isActive());
    }

    // Preparation for a step runs once per step, ahead of its deadline, never after it
    // (the steps are far enough apart for the timer to wake in time).
    void preparesEachStepAheadOfItsDeadline()
    {
        std::vector<SteadyTime> prepared;
        PreparingStepClock clock(preciseStepClock(),
                                 [&] { prepared.push_back(std::chrono::steady_clock::now()); });
        StepTimerGroup group(clock);
        std::vector<SteadyTime> fired;
        StepTimer* timer = nullptr;
        std::vector<SteadyTime> due;
        timer = &group.add([&] {
            fired.push_back(std::chrono::steady_clock::now());
            if (fired.size() < 2) {
                group.start(*timer, 100ms);
                due.push_back(timer->due());
            }
        });
        group.start(*timer, 100ms);
        due.push_back(timer->due());
        QTRY_COMPARE_WITH_TIMEOUT(fired.size(), std::size_t(2), 5000);
        QCOMPARE(prepared.size(), std::size_t(2));
        for (std::size_t i = 0; i < 2; ++i) {
            QVERIFY(prepared[i] < due[i]);
            QVERIFY(fired[i] >= due[i]);
        }
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstStepClock)
#include "tst_stepclock.moc"
