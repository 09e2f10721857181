#include "core/data/FileFormats.h"
#include "support/DataSupport.h"

#include <QBuffer>
#include <QTest>

using namespace gf;
using namespace gf::test;

// Registration, summaries, folding and the monthly logs.
class TstSessions : public QObject
{
    Q_OBJECT

    DataFolder f;

    static tTeleStat tel(int mode, int best, int maxLevel, double stamp)
    {
        QList<std::pair<int, int>> tasksRight;
        for (int l = 3; l <= maxLevel; ++l)
            tasksRight.append({2, l <= best ? 2 : 1});
        tTeleStat r = seqStat<tTeleStat>(mode, best, 3, tasksRight, 10);
        r.Stamp.days = stamp;
        return r;
    }
    // The record bytes from the layout table.
    static QByteArray telBytes(const tTeleStat& r)
    {
        Bytes b;
        b.u16(2).u16(0).u16(r.Mode).f64(r.Stamp.days).u16(r.TaskCount).i32(r.BestSpan);
        b.u16(r.MinLevel).u16(r.MaxLevel);
        for (int copy = 0; copy < 13; ++copy) {
            for (int l = 3; l <= 15; ++l)
                b.u16(r.Trials[l]);
            for (int l = 3; l <= 15; ++l)
                b.u16(r.Correct[l]);
        }
        return b.b;
    }

private slots:
    void init() { f.reset(); }

    void newDetectiveHasEmptySummaries()
    {
        auto d = f.registered();
        QVERIFY2(d, qPrintable(f.sink.last()));
        QCOMPARE(d->CurrentUser->RegDate.date(), QDate(2004, 3, 5));
        const double today = serial(2004, 3, 5);
        QCOMPARE(f.read("AnnaTS.dat"), emptySummary(today, true));
        QCOMPARE(f.read("AnnaBS.dat"), emptySummary(today, true));
        QCOMPARE(f.read("AnnaWS.dat"), emptySummary(today, false));
        QCOMPARE(f.read("AnnaBK.dat"), emptySummary(today, false));

        d->UserName = "-";
        QVERIFY(d->ResultFileName("TS").isEmpty());
        QCOMPARE(f.sink.last(), QStringLiteral("Kein User ausgewählt"));
    }

    void foldingKeepsRunningMeans()
    {
        tProgramData d(&f.sink, &f.clock);
        d.FoldTelStat(tel(2, 5, 6, 0));
        d.FoldTelStat(tel(2, -999, 8, 0));
        d.FoldTelStat(tel(2, 7, 7, 0));
        d.FoldTelStat(tel(2, 9, 7, 0));
        // The mean of all three, not of the old mean and the newest value (7.5).
        QCOMPARE(d.TelAvg[2], 7.0);
        QCOMPARE(d.TelCount[2], 3.0);
        QCOMPARE(d.TelBest[2], 8);
        // A record with a mode outside 1..3 must not reach any array.
        d.FoldTelStat(tel(0, 9, 9, 0));
        d.FoldTelStat(tel(4, 9, 9, 0));
        QCOMPARE(d.TelBest[2], 8);

        // A first record without a passed length leaves the mean empty but counts it.
        tBmpSndStat m;
        m.Mode = 1;
        m.BestSpan = -999;
        d.FoldMemoStat(m);
        m.BestSpan = 4;
        d.FoldMemoStat(m);
        QCOMPARE(d.MemoAvg[1], 4.0);
        QCOMPARE(d.MemoCount[1], 1.0);

        tWortKatStat w;
        w.AskedPerLevel = {{0, 6, 3, 0}};
        w.CorrectPerLevel = {{0, 3, 3, 0}};
        d.FoldWortStat(w);
        w.AskedPerLevel = {{0, 4, 0, 0}};
        w.CorrectPerLevel = {{0, 4, 0, 0}};
        d.FoldWortStat(w);
        w.CorrectPerLevel = {{0, 0, 0, 0}};
        d.FoldWortStat(w);
        QCOMPARE(d.WortAvg[1], -999.0);
        QCOMPARE(d.WortAvg[2], 50.0); // 50, 100 and 0 percent
        QCOMPARE(d.WortCount[2], 3.0);
        QCOMPARE(d.WortAvg[3], 100.0);
    }

    void savesIntoMonthlyLogs()
    {
        auto d = f.registered();
        QVERIFY(d);
        const tTeleStat a = tel(1, 5, 6, serial(2004, 3, 5, 10));
        const tTeleStat b = tel(1, 7, 8, serial(2004, 3, 5, 11));
        d->TelStatList = {a, b};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QString log = d->DataDir + "AnnaTS_04_03.dat";
        QCOMPARE(f.read("AnnaTS_04_03.dat"), telBytes(a) + telBytes(b));
        QCOMPARE(d->CurrentUser->TelFiles, QStringList{log});
        QCOMPARE(d->CurrentUser->Logs[1].LastDate.toDateTime(), d->SessionStart);
        QVERIFY(!QFileInfo::exists(f.path("AnnaWS_04_03.dat")));
        QCOMPARE(f.read("AnnaTS.dat").mid(8, 4), Bytes().i32(8).b);

        // Saving again writes nothing twice; a new record in the same month appends.
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(f.size("AnnaTS_04_03.dat"), 1400);
        d->TelStatList.append(tel(2, 4, 4, serial(2004, 3, 5, 12)));
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(f.size("AnnaTS_04_03.dat"), 2100);
        QVERIFY(d->SaveUserFile());

        // April: a new program run, a new log, both listed oldest first.
        f.clock.moment = QDateTime(QDate(2004, 4, 1), QTime(9, 0));
        auto april = f.fresh();
        april->UserName = "Anna";
        QVERIFY(april->openUser());
        QCOMPARE(april->TelCount[1], 2.0);
        april->createSessionLists();
        april->TelStatList = {tel(1, 9, 9, serial(2004, 4, 1, 9))};
        tWortKatStat w;
        w.AskedPerLevel = {{4, 4, 0, 2}};
        april->WortStatList = {w};
        QVERIFY(april->SaveSessionResults(*april->CurrentUser));
        QCOMPARE(april->CurrentUser->TelFiles,
                 (QStringList{log, april->DataDir + "AnnaTS_04_04.dat"}));
        QCOMPARE(f.size("AnnaTS_04_04.dat"), 700);
        QCOMPARE(f.size("AnnaWS_04_04.dat"), 26);
        QCOMPARE(f.size("AnnaTS_04_03.dat"), 2100);
        QVERIFY(!QFileInfo::exists(f.path("AnnaBS_04_04.dat")));

        // January of the next year: its month number is the smaller one, yet it is later.
        april->SessionStart = QDateTime(QDate(2005, 1, 3), QTime(9, 0));
        april->createSessionLists();
        april->TelStatList = {tel(1, 6, 6, serial(2005, 1, 3, 9))};
        QVERIFY(april->SaveSessionResults(*april->CurrentUser));
        QCOMPARE(april->CurrentUser->TelFiles.last(), april->DataDir + "AnnaTS_05_01.dat");
    }

    void onlyOneKindStillRewritesEverySummary()
    {
        auto d = f.registered();
        QVERIFY(d);
        for (const char* name : {"AnnaTS.dat", "AnnaBS.dat", "AnnaWS.dat", "AnnaBK.dat"})
            QFile::remove(f.path(name));
        tWortKatStat w;
        w.AskedPerLevel = {{2, 0, 0, 0}};
        w.CorrectPerLevel = {{1, 0, 0, 0}};
        d->WortStatList = {w};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(f.size("AnnaTS.dat"), 68);
        QCOMPARE(f.size("AnnaBK.dat"), 72);
        QCOMPARE(f.read("AnnaWS.dat").mid(8, 16), Bytes().f64(50.0).f64(1).b);
        QVERIFY(d->CurrentUser->TelFiles.isEmpty());

        tProgramData none(&f.sink, &f.clock);
        QVERIFY(!none.SaveSessionResults(*d->CurrentUser)); // no session lists yet
    }

    void noSaveEmptiesAFileThatHoldsData()
    {
        // A summary name left over from an earlier Anna gives the summary the month
        // name; the clock going back a month and forward again must neither lose the
        // summary nor the log.
        f.write("AnnaTS.dat", {});
        auto d = f.registered();
        QVERIFY(d);
        const QString summary = d->CurrentUser->TelSumFile;
        QCOMPARE(summary, d->DataDir + "AnnaTS_04_03.dat");
        QCOMPARE(d->CurrentUser->MemoSumFile, d->DataDir + "AnnaBS.dat");
        d->TelStatList = {tel(1, 5, 5, serial(2004, 3, 5))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QString log = d->CurrentUser->Logs[1].FileName;
        QVERIFY(log != summary);
        QCOMPARE(QFileInfo(log).size(), 700);
        QCOMPARE(QFileInfo(summary).size(), 68);

        // February appends to the March log; March again continues it, not empties it.
        for (const QDate day : {QDate(2004, 2, 20), QDate(2004, 3, 6)}) {
            d->SessionStart = QDateTime(day, QTime(8, 0));
            d->createSessionLists();
            d->TelStatList = {tel(1, 4, 4, serial(day.year(), day.month(), day.day()))};
            QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        }
        QCOMPARE(QFileInfo(log).size(), 2100);
        QCOMPARE(d->CurrentUser->TelFiles, QStringList{log});
    }

    void failedAppendLeavesNoTornRecord()
    {
        auto d = f.registered();
        QVERIFY(d);
        d->TelStatList = {tel(1, 5, 5, serial(2004, 3, 5))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QByteArray before = f.read("AnnaTS_04_03.dat");
        const double avgBefore = d->TelAvg[1];
        d->TelStatList.append(tel(1, 9, 9, serial(2004, 3, 5)));
        {
            FileSizeLimit limit(700 + 100); // room for a part of the second record only
            QVERIFY(!d->SaveSessionResults(*d->CurrentUser));
        }
        QCOMPARE(f.read("AnnaTS_04_03.dat"), before);
        QCOMPARE(d->TelAvg[1], avgBefore);
        // With room again the record is written once.
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(f.size("AnnaTS_04_03.dat"), 1400);
    }

    void recordsReadBackAsWritten()
    {
        const tTeleStat a = tel(3, 6, 7, serial(2004, 3, 5, 10, 15, 30));
        QByteArray bytes = telBytes(a);
        // Copies that disagree: the last one stands.
        bytes.replace(24 + 12 * 52, 2, Bytes().u16(77).b);
        tTeleStat r;
        fileformat::decodeTel(bytes.constData(), r);
        QCOMPARE(r.Stamp, a.Stamp);
        QCOMPARE(r.Trials[3], quint16(77));
        QCOMPARE(r.Trials[4], a.Trials[4]);

        // A memo record with levels beyond the telephone's round-trips.
        tBmpSndStat m;
        m.Mode = 2;
        m.MaxLevel = 17;
        m.Trials[17] = 3;
        m.Correct[20] = 1;
        auto d = f.registered();
        QVERIFY(d);
        d->MemoStatList = {m};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(QFileInfo(d->CurrentUser->Logs[2].FileName).size(), 1624);
        const WalkedRecords back = storedRecords(*d->CurrentUser);
        QCOMPARE(back.Memo, QList<tBmpSndStat>{m});
    }
};

QTEST_GUILESS_MAIN(TstSessions)
#include "tst_sessions.moc"
