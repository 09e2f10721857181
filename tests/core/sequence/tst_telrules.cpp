#include "core/data/Random.h"
#include "core/sequence/SequenceRules.h"
#include "core/sequence/TelRules.h"

#include <QtTest>

using namespace gf;

namespace gf::test {

class TstTelRules : public QObject
{
    Q_OBJECT

private slots:
    void numbersHaveNoLeadingZeroAndNoFourEqualDigits()
    {
        Random random(12345);
        int runsOfThree = 0;
        QSet<QChar> digitsSeen;
        for (int i = 0; i < 20000; ++i) {
            const int asked = 1 + i % 20;
            const QString n = tel::makeNumber(random, asked);
            QCOMPARE(n.size(), std::clamp(asked, 3, 15));
            QVERIFY(n[0] >= u'1' && n[0] <= u'9');
            int run = 1;
            for (int k = 1; k < n.size(); ++k) {
                QVERIFY(n[k].isDigit());
                digitsSeen.insert(n[k]);
                run = n[k] == n[k - 1] ? run + 1 : 1;
                QVERIFY2(run <= 3, qPrintable(n));
                runsOfThree += run == 3;
            }
        }
        QCOMPARE(digitsSeen.size(), 10);
        QVERIFY(runsOfThree > 0); // three in a row stay allowed
    }

    void lengthRuleAtItsBounds()
    {
        struct Case
        {
            int start;
            bool first, second;
            int length, best;
        };
        const Case cases[] = {
            {15, true, true, 15, 15},  {3, false, false, 3, -999}, {7, true, false, 7, -999},
            {7, false, true, 7, -999}, {7, true, true, 8, 7},      {8, false, false, 7, -999},
        };
        for (const Case& c : cases) {
            seq::BlockLevelRule rule = tel::lengthRule(c.start);
            int best = -999;
            rule.Record(c.first, best);
            QCOMPARE(rule.Level, c.start); // never after one task
            rule.Record(c.second, best);
            QCOMPARE(rule.Level, c.length);
            QCOMPARE(best, c.best);
            QCOMPARE(rule.nTrials, 0);
        }
        // a best span already higher is kept
        seq::BlockLevelRule rule = tel::lengthRule(4);
        int best = 9;
        rule.Record(true, best);
        rule.Record(true, best);
        QCOMPARE(best, 9);
        QCOMPARE(tel::nextStartLevel(-999), 3);
        QCOMPARE(tel::nextStartLevel(4), 3);
        QCOMPARE(tel::nextStartLevel(7), 6);
        // Percentages round to the nearest tenth: 2 of 3 is 66.7, 1 of 3 is 33.3.
        QCOMPARE(seq::percentOneDecimal(2, 3), 66.7);
        QCOMPARE(seq::percentOneDecimal(1, 3), 33.3);
        QCOMPARE(seq::percentOneDecimal(0, 0), 0.0);
    }

    void displayCells()
    {
        QString d = tel::dashPattern(5);
        QCOMPARE(d, QString("- - - - - "));
        tel::writeCell(d, 0, u'7');
        tel::writeCell(d, 4, u'0');
        tel::writeCell(d, 5, u'9'); // outside: ignored
        QCOMPARE(d, QString("7 - - - 0 "));
        QCOMPARE(tel::dialled(d), QString("7---0"));
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstTelRules)
#include "tst_telrules.moc"
