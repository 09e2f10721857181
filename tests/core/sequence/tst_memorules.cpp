#include "core/data/Random.h"
#include "core/data/Records.h"
#include "core/sequence/MemoRules.h"

#include <QtTest>

using namespace gf;
using memo::StageShow;

namespace gf::test {

class TstMemoRules : public QObject
{
    Q_OBJECT

private slots:
    void sequencesNeverHoldThreeEqualEventsInARow()
    {
        Random random(2024);
        QSet<int> firsts, afterPair;
        int pairs = 0;
        for (int i = 0; i < 20000; ++i) {
            const int level = i % 23; // 0..22: below and above the bounds as well
            const QVector<int> s = memo::makeSequence(random, level);
            QCOMPARE(s.size(), std::clamp(level, 1, 20));
            firsts.insert(s[0]);
            for (int k = 0; k < s.size(); ++k) {
                QVERIFY(s[k] >= 0 && s[k] <= 9);
                if (k >= 2 && s[k - 1] == s[k - 2]) {
                    QVERIFY2(s[k] != s[k - 1], qPrintable(memo::sequenceText(s)));
                    afterPair.insert(s[k - 1] * 10 + s[k]);
                    ++pairs;
                }
            }
        }
        QCOMPARE(firsts.size(), 10);    // any event may open, "Auto" (0) included
        QVERIFY(pairs > 1000);          // two in a row stay allowed
        QCOMPARE(afterPair.size(), 90); // after a pair, any other event may follow
    }

    void levelRuleKeepsWithinItsLimits()
    {
        struct Case
        {
            int start;
            bool first, second;
            int level, best;
        };
        const Case cases[] = {
            {15, true, true, 15, 15},      {2, false, false, 2, NoValue},
            {1, false, false, 1, NoValue}, {1, true, true, 2, 1},
            {17, true, true, 17, 17},      {17, false, false, 16, NoValue},
            {3, false, false, 2, NoValue}, {6, false, true, 6, NoValue},
        };
        for (const Case& c : cases) {
            seq::BlockLevelRule rule = memo::levelRule(c.start);
            int best = NoValue;
            QVERIFY(!rule.Record(c.first, best)); // a block is two tasks
            QCOMPARE(rule.Level, c.start);
            QVERIFY(rule.Record(c.second, best));
            QCOMPARE(rule.Level, c.level);
            QCOMPARE(best, c.best);
        }
        // the stored start level and the one stored for the next exercise
        QCOMPARE(memo::startLevel(0), 1);
        QCOMPARE(memo::startLevel(1), 1);
        QCOMPARE(memo::startLevel(25), 17);
        QCOMPARE(memo::nextStartLevel(NoValue), 1);
        QCOMPARE(memo::nextStartLevel(1), 1);
        QCOMPARE(memo::nextStartLevel(2), 1);
        QCOMPARE(memo::nextStartLevel(3), 2);
    }

    void textsAndStage()
    {
        QCOMPARE(memo::sequenceText({2, 0, 9}), QString("3 1 10 "));
        QCOMPARE(memo::pictureFile(0) + memo::soundFile(6), QString("Auto.bmpDrumrol3.WAV"));
        tBmpSndStat stat;
        stat.Mode = 2;
        stat.TaskCount = 10;
        QCOMPARE(memo::graphTitle(stat), QString("Memo-Protokoll (nur Sehen, 10 Übungen)"));

        // mode, picture there, sound playing -> stage
        QCOMPARE(memo::stageContent(1, true, true), StageShow::Empty);
        QCOMPARE(memo::stageContent(1, true, false), StageShow::Picture);
        QCOMPARE(memo::stageContent(2, false, false), StageShow::Number);
        QCOMPARE(memo::stageContent(3, false, true), StageShow::Empty);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstMemoRules)
#include "tst_memorules.moc"
