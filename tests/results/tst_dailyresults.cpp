#include "data/ProgramData.h"
#include "results/DailyResults.h"

#include <QTest>

using namespace gf;

namespace gf::test {

// The values of both pages of the daily results, from made-up session lists and summaries.
class TstDailyResults : public QObject
{
    Q_OBJECT

    static tWortKatStat kat(std::array<quint16, 4> asked, std::array<quint16, 4> right)
    {
        tWortKatStat r;
        r.AskedPerLevel.v = asked;
        r.CorrectPerLevel.v = right;
        return r;
    }
    template <typename Stat> static Stat seq(quint16 mode, qint32 bestSpan, quint16 maxLevel)
    {
        Stat r;
        r.Mode = mode;
        r.BestSpan = bestSpan;
        r.MaxLevel = maxLevel;
        return r;
    }

private slots:
    void categoryPage()
    {
        tProgramData d; // summaries without values
        d.WortAvg.v = {11, 12, 13, 14};
        d.BildAvg.v = {21, 22, NoValueReal, 24};
        d.WortTotal = 7;

        tKatValues k = KatValues(d);
        for (int i : {1, 2, 3, 4, 9, 10, 11, 12})
            QCOMPARE(k.Values[i], NoValueReal);
        QCOMPARE(k.WordCount, 0);
        QCOMPARE(k.PictureCount, 0);

        d.WortStatList = {kat({4, 4, 4, 4}, {4, 2, 0, 4}), kat({4, 4, 4, 4}, {2, 2, 0, 4})};
        tBmpKatStat b;
        static_cast<tWortKatStat&>(b) = kat({0, 3, 0, 0}, {0, 1, 0, 0});
        d.BildStatList = {b};
        k = KatValues(d);
        const double none = NoValueReal;
        const double expected[17] = {0,                                // (unused)
                                     75,   50,        0,    100,       // words today
                                     11,   12,        13,   14,        // words earlier
                                     none, 100.0 / 3, none, none,      // pictures today
                                     21,   22,        none, 24};       // pictures earlier
        for (int i = 1; i <= 16; ++i)
            QVERIFY2(qFuzzyCompare(k.Values[i], expected[i]), qPrintable(QString::number(i)));
        QCOMPARE(k.WordCount, 2);
        QCOMPARE(k.PictureCount, 1);
        QCOMPARE(k.WortTotal, 7.0);

        QCOMPARE(KatValueText(NoValueReal), QStringLiteral("--"));
        QCOMPARE(KatValueText(0), QStringLiteral("0%"));
        QCOMPARE(KatValueText(200.0 / 3), QStringLiteral("67%"));
    }

    void sequencePage()
    {
        tProgramData d; // summaries without values
        tSeqValues s = SeqValues(d);
        QCOMPARE(s.NumLevels, 9);
        QCOMPARE(s.TelSafeToday[1], NoValueReal);
        QCOMPARE(s.MemoBestEarlier[3], NoValue);

        d.TelBest.v = {5, NoValue, 8};
        d.TelAvg.v = {4.5, NoValueReal, 6};
        d.MemoBest.v = {NoValue, 4, NoValue};
        d.MemoAvg.v = {NoValueReal, 3.5, NoValueReal};
        d.TelCount.v = {2, 0, 1};
        d.TelStatList = {seq<tTeleStat>(1, 4, 5), seq<tTeleStat>(1, 6, 7),
                         seq<tTeleStat>(2, NoValue, 3)};
        d.MemoStatList = {seq<tBmpSndStat>(2, NoValue, 2), seq<tBmpSndStat>(3, 3, 4),
                          seq<tBmpSndStat>(3, NoValue, 4)};
        s = SeqValues(d);
        QCOMPARE(s.TelRunsToday, 3);
        QCOMPARE(s.MemoRunsToday, 3);
        QCOMPARE(s.TelSafeToday[1], 5.0);
        QCOMPARE(s.TelCountToday[1], 2);
        // a telephone exercise without a passed length is not counted; a memo one is
        QCOMPARE(s.TelCountToday[2], 0);
        QCOMPARE(s.TelSafeToday[2], NoValueReal);
        QCOMPARE(s.MemoCountToday[2], 1);
        QCOMPARE(s.MemoSafeToday[2], NoValueReal);
        QCOMPARE(s.MemoCountToday[3], 2);
        QCOMPARE(s.MemoSafeToday[3], 3.0);
        QCOMPARE(s.TelBestEarlier[3], 8);
        QCOMPARE(s.TelSafeEarlier[1], 4.5);
        QCOMPARE(s.MemoBestEarlier[2], 4);
        QCOMPARE(s.MemoSafeEarlier[2], 3.5);
        QCOMPARE(s.TelCountEarlier[1], 2.0);
        QCOMPARE(s.NumLevels, 8);

        d.TelStatList.append(seq<tTeleStat>(3, 5, 12));
        QCOMPARE(SeqValues(d).NumLevels, 12);
        d.TelStatList.clear();
        d.MemoStatList.clear();
        d.TelBest.fill(NoValue);
        d.MemoBest.v = {NoValue, 11, NoValue};
        QCOMPARE(SeqValues(d).NumLevels, 11);
        // a damaged summary cannot stretch the scale beyond the longest level table
        d.MemoBest[2] = 100000;
        QCOMPARE(SeqValues(d).NumLevels, MaxScaleLevel);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstDailyResults)
#include "tst_dailyresults.moc"
