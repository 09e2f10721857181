#include "TestSupport.h"

#include "data/ProgramData.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gf;
using namespace gftest;

// Registration, summaries, folding and the monthly logs.
class TstSessions : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    RecordingSink sink;
    FixedClock clock{QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30))};

    std::unique_ptr<tProgramData> fresh()
    {
        auto d = std::make_unique<tProgramData>(&sink, &clock);
        d->setDataDir(tmp.path());
        d->SessionStart = clock.moment;
        return d;
    }
    QByteArray read(const QString& name)
    {
        QFile f(tmp.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    qint64 size(const QString& name) { return QFileInfo(tmp.filePath(name)).size(); }
    std::unique_ptr<tProgramData> registered(const QString& name = QStringLiteral("Anna"))
    {
        auto d = fresh();
        if (!d->RegisterUser(name, 1))
            return nullptr;
        d->UserName = name;
        if (!d->OpenUser())
            return nullptr;
        d->CreateSessionLists();
        return d;
    }
    static tTeleStat tel(int mode, int best, int maxLevel, double stamp)
    {
        tTeleStat r;
        r.Mode = quint16(mode);
        r.BestSpan = best;
        r.MaxLevel = quint16(maxLevel);
        r.MinLevel = 3;
        r.Stamp.days = stamp;
        r.TaskCount = 10;
        for (int l = 3; l <= maxLevel; ++l) {
            r.Trials[l] = 2;
            r.Correct[l] = l <= best ? 2 : 1;
        }
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
    void init()
    {
        sink.clear();
        clock.moment = QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30));
        QDir(tmp.path()).removeRecursively();
        QDir().mkpath(tmp.path());
    }

    void newDetectiveHasEmptySummaries()
    {
        auto d = registered();
        QVERIFY2(d, qPrintable(sink.last()));
        const auto u = d->CurrentUser;
        QCOMPARE(u->Name, QStringLiteral("Anna"));
        QCOMPARE(u->RegDate.date(), QDate(2004, 3, 5));
        QCOMPARE(u->RegSlot, quint16(1));
        QCOMPARE(u->TelSumFile, d->DataDir + "AnnaTS.dat");
        QCOMPARE(u->BildSumFile, d->DataDir + "AnnaBK.dat");
        Bytes ts;
        ts.f64(serial(2004, 3, 5));
        for (int m = 0; m < 3; ++m)
            ts.i32(-999).f64(-999.0).f64(0);
        QCOMPARE(read("AnnaTS.dat"), ts.b);
        QCOMPARE(read("AnnaBS.dat"), ts.b);
        Bytes ws;
        ws.f64(serial(2004, 3, 5));
        for (int l = 0; l < 4; ++l)
            ws.f64(-999.0).f64(0);
        QCOMPARE(read("AnnaWS.dat"), ws.b);
        QCOMPARE(read("AnnaBK.dat"), ws.b);
        for (int m = 1; m <= 3; ++m) {
            QCOMPARE(d->TelBest[m], -999);
            QCOMPARE(d->MemoAvg[m], -999.0);
        }
        QCOMPARE(d->WortCount[4], 0.0);
    }

    void foldingKeepsRunningMeans()
    {
        tProgramData d(&sink, &clock);
        d.FoldTelStat(tel(2, 5, 6, 0));
        d.FoldTelStat(tel(2, -999, 8, 0));
        d.FoldTelStat(tel(2, 7, 7, 0));
        QCOMPARE(d.TelAvg[2], 6.0);
        QCOMPARE(d.TelCount[2], 2.0);
        QCOMPARE(d.TelBest[2], 8);
        QCOMPARE(d.TelBest[1], -999);

        // A first record without a passed length leaves the mean empty but counts it.
        tBmpSndStat m;
        m.Mode = 1;
        m.BestSpan = -999;
        d.FoldMemoStat(m);
        QCOMPARE(d.MemoAvg[1], -999.0);
        QCOMPARE(d.MemoCount[1], 1.0);
        m.BestSpan = 4;
        d.FoldMemoStat(m);
        QCOMPARE(d.MemoAvg[1], 4.0);
        QCOMPARE(d.MemoCount[1], 1.0);

        tWortKatStat w;
        w.AskedPerLevel = {{0, 6, 3, 0}};
        w.CorrectPerLevel = {{0, 3, 3, 0}};
        d.FoldWortStat(w);
        QCOMPARE(d.WortAvg[1], -999.0);
        QCOMPARE(d.WortAvg[2], 50.0);
        QCOMPARE(d.WortAvg[3], 100.0);
        QCOMPARE(d.WortCount[4], 0.0);
        w.AskedPerLevel = {{0, 4, 0, 0}};
        w.CorrectPerLevel = {{0, 4, 0, 0}};
        d.FoldWortStat(w);
        QCOMPARE(d.WortAvg[2], 75.0);
        QCOMPARE(d.WortCount[2], 2.0);

        // A record with a mode outside 1..3 must not reach any array.
        d.FoldTelStat(tel(0, 9, 9, 0));
        d.FoldTelStat(tel(4, 9, 9, 0));
        QCOMPARE(d.TelBest[2], 8);
    }

    void resultFileNames()
    {
        QCOMPARE(tProgramData::ZeroPad(3, 2), QStringLiteral("03"));
        QCOMPARE(tProgramData::ZeroPad(123, 2), QStringLiteral("123"));
        auto d = fresh();
        d->SessionStart = QDateTime(QDate(2010, 11, 30), QTime(23, 59));
        QCOMPARE(d->MonthTag(), QStringLiteral("_10_11"));

        d->UserName = "-";
        QVERIFY(d->ResultFileName("TS").isEmpty());
        QCOMPARE(sink.last(), QStringLiteral("Kein User ausgewählt"));
        d->UserName = "";
        QVERIFY(d->ResultFileName("TS").isEmpty());

        // A summary name left over from an earlier Anna gives the month name.
        QFile(tmp.filePath("AnnaTS.dat")).open(QIODevice::WriteOnly);
        auto r = registered();
        QVERIFY(r);
        QCOMPARE(r->CurrentUser->TelSumFile, r->DataDir + "AnnaTS_04_03.dat");
        QCOMPARE(r->CurrentUser->MemoSumFile, r->DataDir + "AnnaBS.dat");
    }

    void savesIntoMonthlyLogs()
    {
        auto d = registered();
        QVERIFY(d);
        const tTeleStat a = tel(1, 5, 6, serial(2004, 3, 5, 10));
        const tTeleStat b = tel(1, 7, 8, serial(2004, 3, 5, 11));
        d->TelStatList = {a, b};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QString log = d->DataDir + "AnnaTS_04_03.dat";
        QCOMPARE(read("AnnaTS_04_03.dat"), telBytes(a) + telBytes(b));
        QCOMPARE(d->CurrentUser->TelFiles, QStringList{log});
        QCOMPARE(d->CurrentUser->Logs[1].FileName, log);
        QCOMPARE(d->CurrentUser->Logs[1].LastDate.toDateTime(), d->SessionStart);
        QVERIFY(!QFileInfo::exists(tmp.filePath("AnnaWS_04_03.dat")));
        // The summaries were folded and written.
        QCOMPARE(d->TelAvg[1], 6.0);
        QCOMPARE(read("AnnaTS.dat").mid(8, 4), Bytes().i32(8).b);
        QVERIFY(d->SaveUserFile());

        // Saving again writes nothing twice; a new record in the same month appends.
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(size("AnnaTS_04_03.dat"), 1400);
        d->TelStatList.append(tel(2, 4, 4, serial(2004, 3, 5, 12)));
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(size("AnnaTS_04_03.dat"), 2100);
        QVERIFY(d->SaveUserFile());

        // April: a new program run, a new log, both listed oldest first.
        clock.moment = QDateTime(QDate(2004, 4, 1), QTime(9, 0));
        auto april = fresh();
        april->SessionStart = clock.moment;
        april->UserName = "Anna";
        QVERIFY(april->OpenUser());
        QCOMPARE(april->TelCount[1], 2.0);
        april->CreateSessionLists();
        april->TelStatList = {tel(1, 9, 9, serial(2004, 4, 1, 9))};
        tWortKatStat w;
        w.AskedPerLevel = {{4, 4, 0, 2}};
        april->WortStatList = {w};
        QVERIFY(april->SaveSessionResults(*april->CurrentUser));
        QCOMPARE(april->CurrentUser->TelFiles,
                 (QStringList{log, april->DataDir + "AnnaTS_04_04.dat"}));
        QCOMPARE(size("AnnaTS_04_04.dat"), 700);
        QCOMPARE(size("AnnaWS_04_04.dat"), 26);
        QCOMPARE(size("AnnaTS_04_03.dat"), 2100);
        QVERIFY(!QFileInfo::exists(tmp.filePath("AnnaBS_04_04.dat")));
    }

    void onlyOneKindStillRewritesEverySummary()
    {
        auto d = registered();
        QVERIFY(d);
        for (const char* f : {"AnnaTS.dat", "AnnaBS.dat", "AnnaWS.dat", "AnnaBK.dat"})
            QFile::remove(tmp.filePath(f));
        tWortKatStat w;
        w.AskedPerLevel = {{2, 0, 0, 0}};
        w.CorrectPerLevel = {{1, 0, 0, 0}};
        d->WortStatList = {w};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(size("AnnaTS.dat"), 68);
        QCOMPARE(size("AnnaBK.dat"), 72);
        QCOMPARE(read("AnnaWS.dat").mid(8, 16), Bytes().f64(50.0).f64(1).b);
        QVERIFY(d->CurrentUser->TelFiles.isEmpty());
        QVERIFY(d->CurrentUser->Logs[1].FileName.isEmpty());

        tProgramData none(&sink, &clock);
        QVERIFY(!none.SaveSessionResults(*d->CurrentUser)); // no session lists yet
    }

    void noSaveEmptiesAFileThatHoldsData()
    {
        // A summary with the month name (an Anna was here before) and the clock going
        // back a month and forward again must neither lose the summary nor the log.
        QFile(tmp.filePath("AnnaTS.dat")).open(QIODevice::WriteOnly);
        auto d = registered();
        QVERIFY(d);
        const QString summary = d->CurrentUser->TelSumFile;
        QCOMPARE(summary, d->DataDir + "AnnaTS_04_03.dat");
        d->TelStatList = {tel(1, 5, 5, serial(2004, 3, 5))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QString log = d->CurrentUser->Logs[1].FileName;
        QVERIFY(log != summary);
        QCOMPARE(QFileInfo(log).size(), 700);
        QCOMPARE(QFileInfo(summary).size(), 68);

        // February: appended to the March log.
        d->SessionStart = QDateTime(QDate(2004, 2, 20), QTime(8, 0));
        d->CreateSessionLists();
        d->TelStatList = {tel(1, 4, 4, serial(2004, 2, 20))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(QFileInfo(log).size(), 1400);
        // March again: the month name is the current log; it is continued, not emptied.
        d->SessionStart = QDateTime(QDate(2004, 3, 6), QTime(8, 0));
        d->CreateSessionLists();
        d->TelStatList = {tel(1, 6, 6, serial(2004, 3, 6))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(QFileInfo(log).size(), 2100);
        QCOMPARE(d->CurrentUser->TelFiles, QStringList{log});
    }

    void failedAppendLeavesNoTornRecord()
    {
        auto d = registered();
        QVERIFY(d);
        d->TelStatList = {tel(1, 5, 5, serial(2004, 3, 5))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        const QString log = d->CurrentUser->Logs[1].FileName;
        const QByteArray before = read(QFileInfo(log).fileName());
        const double avgBefore = d->TelAvg[1];
        d->TelStatList.append(tel(1, 9, 9, serial(2004, 3, 5)));
        {
            FileSizeLimit limit(700 + 100); // room for a part of the second record only
            QVERIFY(!d->SaveSessionResults(*d->CurrentUser));
        }
        QCOMPARE(read(QFileInfo(log).fileName()), before);
        QCOMPARE(d->TelAvg[1], avgBefore);
        // With room again the record is written once.
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(QFileInfo(log).size(), 1400);
    }

    void readersStopAtATornRecord()
    {
        const tTeleStat a = tel(3, 6, 7, serial(2004, 3, 5, 10, 15, 30));
        QByteArray bytes = telBytes(a);
        // Copies that disagree: the last one stands.
        bytes.replace(24 + 12 * 52, 2, Bytes().u16(77).b);
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        tTeleStat r;
        QVERIFY(tProgramData::ReadTelStat(buf, r));
        QCOMPARE(r.Mode, quint16(3));
        QCOMPARE(r.Stamp, a.Stamp);
        QCOMPARE(r.Trials[3], quint16(77));
        QCOMPARE(r.Trials[4], a.Trials[4]);
        QVERIFY(!tProgramData::ReadTelStat(buf, r));

        QByteArray torn = telBytes(a).left(699);
        QBuffer tb(&torn);
        tb.open(QIODevice::ReadOnly);
        QVERIFY(!tProgramData::ReadTelStat(tb, r));

        tBmpSndStat m;
        m.Mode = 2;
        m.MaxLevel = 17;
        m.Trials[17] = 3;
        m.Correct[20] = 1;
        auto d = registered();
        QVERIFY(d);
        d->MemoStatList = {m};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QFile f(d->CurrentUser->Logs[2].FileName);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.size(), 1624);
        tBmpSndStat back;
        QVERIFY(tProgramData::ReadMemoStat(f, back));
        QCOMPARE(back, m);
    }
};

QTEST_GUILESS_MAIN(TstSessions)
#include "tst_sessions.moc"
