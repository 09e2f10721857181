#include "support/DataSupport.h"

#include "core/results/ProgressReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace gf;

namespace gf::test {

// The therapist's overview of a data folder, read against the detectives' logs.
class TstOverview : public QObject
{
    Q_OBJECT

    // A telephone or memo log record of the given size.
    static QByteArray seq(int size, double stamp, int mode, int span)
    {
        Bytes b;
        b.u16(2).u16(0).u16(mode).f64(stamp).u16(10).i32(span).u16(3).u16(std::max(span, 3));
        b.b.append(size - 24, '\0');
        return b.b;
    }
    static QByteArray words(double stamp, int asked, int right)
    {
        return wordRecord(stamp, {asked, 0, 0, 0}, {right, 0, 0, 0});
    }

private slots:
    // The reference day is Wednesday 31.3.2004: the recent period runs from 4.3., the one
    // before from 5.2. to 3.3.; the last 7 days from 25.3.
    void overviewOfSeveralDetectives()
    {
        DataFolder f;
        f.reset();
        // Logs of word and picture search, telephone and memo protocol; empty: none.
        const auto detective = [&](const QString& name, const QList<QByteArray>& logs) {
            auto d = f.registered(name);
            QVERIFY(d);
            for (int k = 0; k < logs.size(); ++k) {
                const QString file = name + QStringList{"WS", "BK", "TS", "BS"}[k] + "_04_03.dat";
                QVERIFY(f.write(file, logs[k]));
                d->CurrentUser->Files(ReportPageOrder[k]) = {f.path(file)};
            }
            QVERIFY(d->SaveUserFile());
        };
        const double before = serial(2004, 3, 3, 10), recent = serial(2004, 3, 4, 10);
        // Word search 55 % -> 60 %: up by exactly 5 points. Picture 60 % -> 55 %: down.
        // Telephone 5.0 -> 5.5: up by exactly 0.5. Memo: one recent exercise, too few.
        detective("Berta",
                  {words(before, 20, 11) + words(serial(2004, 2, 5), 20, 11) +
                       words(recent, 20, 12) + words(serial(2004, 3, 24), 20, 12),
                   words(before, 20, 12) + words(before, 20, 12) + words(recent, 20, 11) +
                       words(serial(2004, 3, 25), 20, 11),
                   seq(700, before, 1, 5) + seq(700, before, 2, 5) + seq(700, recent, 1, 5) +
                       seq(700, serial(2004, 3, 31, 23), 3, 6) +
                       seq(700, serial(2004, 4, 1), 1, 15), // after the day
                   seq(1624, before, 1, 3) + seq(1624, before, 1, 3) + seq(1624, recent, 1, 9)});
        // Word search 60 % -> 55.1 %: less than 5 points, level. Same last day as Berta.
        detective("Carla", {words(before, 1000, 600) + words(before, 1000, 600) +
                            words(recent, 1000, 551) + words(serial(2004, 3, 31), 1000, 551)});
        // Trained last on 10.3.; her memo log ends inside a record.
        detective("Dora", {words(serial(2004, 3, 10), 4, 4),
                           {},
                           {},
                           seq(1624, serial(2004, 3, 9), 2, 4) + QByteArray(100, '\0')});
        detective("Anton", {});

        const ToolRun run = runDataTool({"overview", f.tmp.path(), "--to", "31.03.2004", "--json"});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains("DoraBS_04_03.dat"), qPrintable(run.err));
        const QJsonObject o = QJsonDocument::fromJson(run.out).object();
        QCOMPARE(o["complete"].toBool(true), false);
        QCOMPARE(o["to"].toString(), QString("2004-03-31"));
        // Never trained first, then by last day, the tie by name.
        QStringList rows;
        for (const auto& v : o["detectives"].toArray()) {
            const QJsonObject r = v.toObject(), t = r["trend"].toObject();
            QVERIFY(r.size() == 5 && t.size() == 4);
            rows << QStringList{r["name"].toString(),
                                r["lastDay"].isNull() ? "-" : r["lastDay"].toString(),
                                QString::number(r["last7"].toInt()),
                                QString::number(r["last28"].toInt()),
                                t["word"].toString(),
                                t["picture"].toString(),
                                t["telephone"].toString(),
                                t["memo"].toString()}
                        .join(' ');
        }
        QCOMPARE(rows,
                 (QStringList{"Anton - 0 0 few few few few", "Dora 2004-03-10 0 2 few few few few",
                              "Berta 2004-03-31 2 7 up down up few",
                              "Carla 2004-03-31 1 2 level few few few"}));

        // The PDF says the same, incomplete as well.
        QCOMPARE(runDataTool(
                     {"overview", f.tmp.path(), "--to", "31.03.2004", "--out", f.path("runde.pdf")})
                     .status,
                 2);
        QVERIFY(f.read("runde.pdf").startsWith("%PDF"));
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstOverview)
#include "tst_overview.moc"
