#include "support/DataSupport.h"

#include "core/results/DailyResults.h"
#include "core/results/ProgressReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <cmath>

using namespace gf;

namespace gf::test {

// The numbers of the daily results and of the therapist's progress report.
class TstResultValues : public QObject
{
    Q_OBJECT

private slots:
    void categoryPage()
    {
        tProgramData d; // summaries without values
        d.WortAvg.v = {11, 12, 13, 14};
        d.BildAvg.v = {21, 22, NoValueReal, 24};
        tWortKatStat a, b;
        a.AskedPerLevel.v = b.AskedPerLevel.v = {4, 4, 4, 4};
        a.CorrectPerLevel.v = {4, 2, 0, 4};
        b.CorrectPerLevel.v = {2, 2, 0, 4};
        d.WortStatList = {a, b};
        const tKatValues k = katValues(d);
        const double none = NoValueReal;
        const QList<double> expected = {
            75,   50,   0,    100,  11, 12, 13,   14,  // words today, earlier
            none, none, none, none, 21, 22, none, 24}; // pictures
        QCOMPARE(QList<double>(k.Values.begin(), k.Values.end()), expected);
        QCOMPARE(k.WordCount, 2);
        QCOMPARE(k.PictureCount, 0);
        // shares are not cut to whole percents: 2 of 3 is 66.67
        tWortKatStat third;
        third.AskedPerLevel.v = {3, 0, 0, 0};
        third.CorrectPerLevel.v = {2, 0, 0, 0};
        d.WortStatList = {third};
        QCOMPARE(std::round(*katValues(d).Values.begin() * 100) / 100, 66.67);
        QCOMPARE(katValueText(NoValueReal), QStringLiteral("--"));
        QCOMPARE(katValueText(0), QStringLiteral("0%"));
        QCOMPARE(katValueText(200.0 / 3), QStringLiteral("67%"));
    }

    void sequencePage()
    {
        tProgramData d;
        QCOMPARE(seqValues(d).NumLevels, 9);
        d.TelBest.v = {5, NoValue, 8};
        d.TelAvg.v = {4.5, NoValueReal, 6};
        d.MemoBest.v = {NoValue, 4, NoValue};
        d.TelStatList = {seqStat<tTeleStat>(1, 4, 5), seqStat<tTeleStat>(1, 6, 7),
                         seqStat<tTeleStat>(2, NoValue, 3)};
        d.MemoStatList = {seqStat<tBmpSndStat>(2, NoValue, 2), seqStat<tBmpSndStat>(3, 3, 4),
                          seqStat<tBmpSndStat>(3, NoValue, 4)};
        tSeqValues s = seqValues(d);
        QCOMPARE(s.TelRunsToday, 3);
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
        QCOMPARE(s.NumLevels, 8);

        d.TelStatList.append(seqStat<tTeleStat>(3, 5, 12));
        QCOMPARE(seqValues(d).NumLevels, 12);
        // a damaged summary cannot stretch the scale beyond the longest level table
        d.MemoBest[2] = 100000;
        QCOMPARE(seqValues(d).NumLevels, MaxScaleLevel);
    }

    void progressReportWeeks()
    {
        DataFolder f;
        f.reset();
        auto d = f.registered("Anna");
        QVERIFY(d);
        tUser& user = *d->CurrentUser;
        QVERIFY(f.write(
            "AnnaWS_03_12.dat",
            wordRecord(serial(2003, 12, 28, 10), {4, 4, 0, 0}, {2, 4, 0, 0}) +     // 2003-W52
                wordRecord(serial(2003, 12, 29, 10), {4, 0, 0, 0}, {4, 0, 0, 0}) + // 2004-W01
                wordRecord(serial(2004, 1, 1, 23), {4, 2, 0, 0}, {2, 1, 0, 0}) +
                wordRecord(serial(2004, 1, 12, 0), {2, 2, 2, 2}, {0, 1, 2, 2}))); // W03
        Bytes tel;
        for (auto [span, level] : {std::pair{5, 6}, std::pair{int(NoValue), 4}}) {
            tel.u16(2).u16(0).u16(1).f64(serial(2003, 12, 30)).u16(10).i32(span).u16(3).u16(level);
            tel.b.append(676, '\0');
        }
        QVERIFY(f.write("AnnaTS_04_01.dat", tel.b));
        QVERIFY(f.write("AnnaBS_04_01.dat", QByteArray(100, '\0'))); // ends inside a record
        user.WortFiles = {f.path("AnnaWS_03_12.dat")};
        user.TelFiles = {f.path("AnnaTS_04_01.dat")};
        user.MemoFiles = {f.path("AnnaBS_04_01.dat")};
        QVERIFY(d->SaveUserFile());

        const tProgressReport all = buildProgressReport(user, DayRange{});
        QCOMPARE(all.damaged.size(), 1);
        const QJsonObject o = progressReportJson(all);
        QCOMPARE(o["complete"].toBool(true), false);
        const QJsonArray weeks = o["weeks"].toArray();
        QStringList labels;
        for (const auto& w : weeks)
            labels << w.toObject()["week"].toString();
        QCOMPARE(labels, (QStringList{"2003-W52", "2004-W01", "2004-W03"}));
        const QJsonObject w1 = weeks[1].toObject();
        const QJsonValue null;
        QCOMPARE(w1["word"].toObject(),
                 (QJsonObject{{"count", 2}, {"percent", QJsonArray{75.0, 50.0, null, null}}}));
        QCOMPARE(w1["picture"].toObject(),
                 (QJsonObject{{"count", 0}, {"percent", QJsonArray{null, null, null, null}}}));
        QCOMPARE(w1["telephone"].toObject()["1"].toObject(),
                 (QJsonObject{{"count", 2}, {"meanSpan", 5.0}, {"maxLevel", 6}}));
        QCOMPARE(w1["memo"].toObject()["2"].toObject(),
                 (QJsonObject{{"count", 0}, {"meanSpan", null}, {"maxLevel", null}}));
        // both limit days belong to the period
        const tProgressReport part =
            buildProgressReport(user, DayRange{QDate(2003, 12, 29), QDate(2004, 1, 12)});
        QCOMPARE(part.weeks.size(), 2);
        QCOMPARE(part.weeks[0].word.count, 2);

        // the data tool: the same JSON, the damaged log on standard error, status 2
        const ToolRun json = runDataTool({"report", f.tmp.path(), "Anna", "--json"});
        QCOMPARE(json.status, 2);
        QVERIFY(json.err.contains("AnnaBS_04_01.dat"));
        QCOMPARE(QJsonDocument::fromJson(json.out).object(), o);
        QCOMPARE(
            runDataTool({"report", f.tmp.path(), "Anna", "--out", f.path("bericht.pdf")}).status,
            2);
        const QByteArray bytes = f.read("bericht.pdf");
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(bytes.count("/Type /Page\n"), 4);
    }

    // A log longer than one read block is read to its end.
    void walkReadsEveryBlock()
    {
        DataFolder f;
        f.reset();
        QByteArray log;
        for (int i = 0; i < 600; ++i)
            log += wordRecord(serial(2004, 3, 1), {1, 0, 0, 0}, {1, 0, 0, 0});
        QVERIFY(f.write("x.dat", log + QByteArray(10, '\0')));
        tUser u;
        u.WortFiles = {f.path("x.dat")};
        WalkedRecords walked;
        QList<DamagedLog> damaged;
        QVERIFY(!walkStoredResults(u, ExerciseKind::Wort, {}, walked, damaged));
        QCOMPARE(walked.Wort.size(), 600);
        QCOMPARE(damaged.size(), 1);
        QVERIFY(damaged[0].reason.contains("Datensatz 601"));
    }

    // Values no record can hold stay out of the charts and are named; records without a
    // calendar date make the report incomplete.
    void progressReportLeavesOutImpossibleValues()
    {
        DataFolder f;
        f.reset();
        auto d = f.registered("Anna");
        QVERIFY(d);
        tUser& user = *d->CurrentUser;
        const double day = serial(2004, 3, 1, 10);
        QVERIFY(f.write("AnnaWS_04_03.dat",
                        wordRecord(day, {4, 3, 0, 0}, {2, 9, 0, 0}) +
                            wordRecord(std::nan(""), {1, 0, 0, 0}, {1, 0, 0, 0}) +
                            wordRecord(3000000.0, {1, 0, 0, 0}, {1, 0, 0, 0}))); // year 10113
        auto seq = [&](int size, int span, int level, int mode = 1) {
            Bytes b;
            b.u16(2).u16(0).u16(mode).f64(mode ? day : day + 14).u16(10).i32(span).u16(1).u16(level);
            b.b.append(size - 24, '\0');
            return b.b;
        };
        QVERIFY(f.write("AnnaTS_04_03.dat", seq(700, 4, 5) + seq(700, 5, 6) + seq(700, 2147483647, 7) +
                                            seq(700, 3, 4, 0))); // no mode: in no week
        QVERIFY(f.write("AnnaBS_04_03.dat", seq(1624, int(NoValue), 3) + seq(1624, int(NoValue), 65535)));
        user.WortFiles = {f.path("AnnaWS_04_03.dat")};
        user.TelFiles = {f.path("AnnaTS_04_03.dat")};
        user.MemoFiles = {f.path("AnnaBS_04_03.dat")};
        QVERIFY(d->SaveUserFile());

        const tProgressReport r = buildProgressReport(user, DayRange{});
        QCOMPARE(r.weeks.size(), 1);
        const tReportWeek& w = r.weeks[0];
        QCOMPARE(w.word.percent(1), 50.0);
        QCOMPARE(w.word.percent(2), std::nullopt); // 9 right of 3 asked
        QCOMPARE(w.telephone[1].meanSpan(), 4.5);
        QCOMPARE(w.telephone[1].highestLevel(), 7);
        QCOMPARE(w.memo[1].meanSpan(), std::nullopt);
        QCOMPARE(w.memo[1].highestLevel(), 3); // no passed span, yet a length reached
        QCOMPARE(w.memo[1].count, 2);
        QCOMPARE(r.outOfRange.size(), 3);
        QCOMPARE(r.outOfRange[0].text,
                 QString("Wort-Fahndung vom 01.03.2004: Stufe II mit 9 richtigen von 3 Antworten"));
        QCOMPARE(r.undated.size(), 2);
        QVERIFY(r.undated[1].text.startsWith("Datensatz 3 in "));
        QVERIFY(!r.complete());
        for (ExerciseKind page : {ExerciseKind::Tel, ExerciseKind::Memo}) {
            const tReportPage p = reportPage(r, page);
            QCOMPARE(p.charts[0].yMax, 10.0);
            QCOMPARE(p.leftOut.size(), 1);
        }
        QCOMPARE(reportPage(r, ExerciseKind::Wort).leftOut.size(), 3); // two undated, one value

        // The tool: named on standard error, incomplete, and the PDF in good time.
        const ToolRun json = runDataTool({"report", f.tmp.path(), "Anna", "--json"});
        QCOMPARE(json.status, 2);
        QVERIFY2(json.err.contains("sicheres Ergebnis 2147483647") &&
                     json.err.contains("Datensatz 2 in "),
                 qPrintable(json.err));
        const QJsonObject o = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(o["complete"].toBool(true), false);
        QCOMPARE(o["outOfRange"].toArray().size(), 3);
        QCOMPARE(o["undated"].toArray().size(), 2);
        // The export keeps the undated rows with empty date fields and says so.
        const ToolRun text = runDataTool({"export", f.tmp.path(), "Anna", "--kind", "search"});
        QCOMPARE(text.status, 2);
        QCOMPARE(text.out.count("WORT\t\t\t"), 2);
        QCOMPARE(text.err.count("kein gültiges Datum"), 2);
        // A period that ends before it begins holds nothing: refused.
        const ToolRun late = runDataTool({"report", f.tmp.path(), "Anna", "--json", "--from",
                                          "02.03.2004", "--to", "01.03.2004"});
        QCOMPARE(late.status, 1);
        QVERIFY2(late.err.contains("Das Anfangsdatum 02.03.2004 liegt nach dem Enddatum "
                                   "01.03.2004."),
                 qPrintable(late.err));
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstResultValues)
#include "tst_resultvalues.moc"
