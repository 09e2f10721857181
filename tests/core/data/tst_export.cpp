#include "support/DataSupport.h"

#include "core/data/Formats.h"

#include <QTest>

using namespace gf;
using namespace gf::test;

// The export text, its filter, and the German dates and numbers it is made of.
class TstExport : public QObject
{
    Q_OBJECT

    DataFolder f;
    std::unique_ptr<tProgramData> d;

    static tWortKatStat kat(double stamp, std::array<quint16, 4> asked = {1, 0, 0, 0},
                            std::array<quint16, 4> correct = {1, 0, 0, 0})
    {
        tWortKatStat r;
        r.Stamp.days = stamp;
        r.AskedPerLevel.v = asked;
        r.CorrectPerLevel.v = correct;
        return r;
    }
    QStringList rows(int kind, bool useFrom = false, bool useTo = false, QDate from = {},
                     QDate to = {})
    {
        QByteArray out;
        if (!d->exportResultsTo(out, *d->CurrentUser, useFrom, useTo, from, to, kind))
            return {"FAILED"};
        if (!out.endsWith("\r\n"))
            return {"NO CRLF"};
        out.chop(2);
        return QString::fromLatin1(out).split("\r\n");
    }
    // Writes records into a log of the detective, as a stored month.
    void storeKat(ExerciseKind kind, const QString& file, const QList<tWortKatStat>& records)
    {
        Bytes b;
        for (const auto& r : records) {
            b.u16(2).f64(r.Stamp.days);
            for (int l = 1; l <= 4; ++l)
                b.u16(r.AskedPerLevel[l]).u16(r.CorrectPerLevel[l]);
        }
        QVERIFY(f.write(file, b.b));
        d->CurrentUser->Files(kind).append(f.path(file));
        QVERIFY(d->SaveUserFile());
    }

private slots:
    void init()
    {
        f.reset();
        d = f.registered();
        QVERIFY(d);
    }

    void germanFieldsWhateverTheLocale()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(formatShortDate(QDate(2004, 3, 5)), QStringLiteral("05.03.2004"));
        QCOMPARE(formatLongTime(QTime(9, 5, 7)), QStringLiteral("09:05:07"));
        QCOMPARE(formatPercent(2, 3), QStringLiteral("66,67"));
        QCOMPARE(formatPercent(1, 32), QStringLiteral("3,13")); // an exact half rounds up
        QCOMPARE(formatPercent(65535, 1), QStringLiteral("6553500,00"));

        QCOMPARE(parseShortDate("05.03.2004"), std::optional(QDate(2004, 3, 5)));
        QCOMPARE(parseShortDate(" 5.3.2004 "), std::optional(QDate(2004, 3, 5)));
        QCOMPARE(parseShortDate("29.02.2004"), std::optional(QDate(2004, 2, 29)));
        for (const char* bad :
             {"31.02.2004", "29.02.2003", "00.01.2004", "1.13.2004", "1.1.04", "", "05.03.2004x"})
            QVERIFY2(!parseShortDate(bad), bad);
        QLocale::setDefault(QLocale::system());

        // Stored dates round to the millisecond.
        // Just below midnight rounds into the next day.
        QCOMPARE(SerialDate{38051.0 + 1.0 - 1e-10}.toDateTime(),
                 QDateTime(QDate(2004, 3, 6), QTime(0, 0)));
        // Before 1899 the fraction still counts from midnight.
        QCOMPARE(SerialDate{-1.25}.toDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
        const QDateTime t(QDate(2021, 7, 9), QTime(23, 59, 59, 999));
        QCOMPARE(SerialDate::fromDateTime(t).toDateTime(), t);
        for (double bad : {qQNaN(), 1e300})
            QVERIFY(!SerialDate{bad}.toDateTime().isValid());
    }

    void wordAndPictureRows()
    {
        QCOMPARE(rows(ekWortBild), QStringList{"TYP\tDatum\tZeit\tS_I\tS_II\tS_III\tS_IV\t"});
        storeKat(ExerciseKind::Wort, "AnnaWS_04_03.dat",
                 {kat(serial(2004, 3, 5, 10, 15, 30), {4, 4, 0, 2}, {3, 1, 0, 2})});
        storeKat(ExerciseKind::Bild, "AnnaBK_04_03.dat",
                 {kat(serial(2004, 3, 1, 8), {0, 3, 3, 3}, {0, 1, 2, 3})});
        d->WortStatList = {kat(serial(2004, 3, 6, 9))};
        tBmpKatStat picture;
        static_cast<tWortKatStat&>(picture) =
            kat(serial(2004, 3, 6, 9, 30), {0, 0, 0, 8}, {0, 0, 0, 1});
        d->BildStatList = {picture};
        const QStringList expected = {
            "TYP\tDatum\tZeit\tS_I\tS_II\tS_III\tS_IV\t",
            "WORT\t05.03.2004\t10:15:30\t75,00\t25,00\t\t100,00",
            "WORT\t06.03.2004\t09:00:00\t100,00\t\t\t",
            "BILD\t01.03.2004\t08:00:00\t\t33,33\t66,67\t100,00",
            "BILD\t06.03.2004\t09:30:00\t\t\t\t12,50",
        };
        QCOMPARE(rows(ekWortBild), expected);

        // Once saved, the session records are in the logs and appear once.
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        QCOMPARE(rows(ekWortBild).size(), expected.size());
    }

    void telephoneAndMemoRows()
    {
        tTeleStat t;
        t.Mode = 3;
        t.Stamp.days = serial(2004, 3, 5, 10, 15, 30);
        t.MinLevel = 4;
        t.MaxLevel = 6;
        for (int l = 3; l <= 15; ++l) {
            t.Trials[l] = 2;
            t.Correct[l] = 1;
        }
        t.Trials[5] = 0; // never presented: empty although inside the range
        tBmpSndStat m;
        m.Mode = 1;
        m.Stamp.days = serial(2004, 3, 5, 11);
        m.MinLevel = 1;
        m.MaxLevel = 17;
        for (int l = 1; l <= 20; ++l) {
            m.Trials[l] = 4;
            m.Correct[l] = 3;
        }
        tTeleStat odd = t;
        odd.Mode = 9;
        odd.MinLevel = 0;
        odd.MaxLevel = 40;
        d->TelStatList = {t};
        d->MemoStatList = {m};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        d->TelStatList.append(odd);

        const QStringList out = rows(ekTelMemo);
        QCOMPARE(out.size(), 4);
        QCOMPARE(out[0], "TYP\tModus\tDatum\tZeit\tL_1\tL_2\tL_3\tL_4\tL_5\tL_6\tL_7\tL_8\tL_9\t"
                         "L_10\tL_11\tL_12\tL_13\tL_14\tL_15");
        const QString empty3 = "\t\t\t";
        QCOMPARE(out[1],
                 "TEL\tHS\t05.03.2004\t10:15:30" + empty3 + "\t50,00\t\t50,00" + QString(9, '\t'));
        // Levels beyond the telephone table (1, 2) stay empty, whatever the range says.
        QCOMPARE(out[2], "TEL\t\t05.03.2004\t10:15:30\t\t" + QString("\t50,00").repeated(2) + "\t" +
                             QString("\t50,00").repeated(10));
        QCOMPARE(out[3], "MEMO\tH\t05.03.2004\t11:00:00" + QString("\t75,00").repeated(15));
    }

    void walkerGoesPastDamagedLogs()
    {
        storeKat(ExerciseKind::Wort, "AnnaWS_04_01.dat", {kat(serial(2004, 1, 19)), kat(serial(2004, 1, 20))});
        QVERIFY(QFile::resize(f.path("AnnaWS_04_01.dat"), 40));       // ends inside record 2
        d->CurrentUser->WortFiles.append(f.path("AnnaWS_03_12.dat")); // never written
        QVERIFY(d->SaveUserFile());
        storeKat(ExerciseKind::Wort, "AnnaWS_04_02.dat",
                 {kat(serial(2004, 2, 1, 23, 59, 59)), kat(serial(2004, 2, 2))});
        d->WortStatList = {kat(serial(2004, 3, 1, 23, 59, 59)), kat(serial(2004, 3, 2)),
                           kat(serial(2004, 3, 3))};
        QVERIFY(d->SaveSessionResults(*d->CurrentUser));
        d->WortStatList.append(kat(serial(2004, 3, 4)));

        const auto days = [](const QList<tWortKatStat>& records) {
            QList<int> out;
            for (const auto& r : records)
                out.append(r.Stamp.date().day());
            return out;
        };
        const WalkedRecords all = walkResults(*d, *d->CurrentUser, {}, {ExerciseKind::Wort, ExerciseKind::Bild});
        // Stored logs in list order, then the one record not saved yet.
        QCOMPARE(days(all.Wort), (QList<int>{19, 1, 2, 1, 2, 3, 4}));
        QVERIFY(all.Bild.isEmpty() && all.Tel.isEmpty());
        QCOMPARE(all.Damaged.size(), 2);
        QVERIFY(all.Damaged[0].reason.contains("Datensatz 2"));
        QCOMPARE(all.Damaged[1].fileName, f.path("AnnaWS_03_12.dat"));
        QVERIFY(all.Damaged[1].reason.contains("AnnaWS_03_12.dat"));

        // Both limit days whole, whatever the time of day; either limit alone.
        const QDate first(2004, 2, 2), last(2004, 3, 1);
        const auto within = [&](QDate from, QDate to) {
            return days(walkResults(*d, *d->CurrentUser, {from, to}, {ExerciseKind::Wort}).Wort);
        };
        QCOMPARE(within(first, last), (QList<int>{2, 1}));
        QCOMPARE(within(first, {}), (QList<int>{2, 1, 2, 3, 4}));
        QCOMPARE(within({}, last), (QList<int>{19, 1, 2, 1}));

        // The stored records alone; and another detective's walk has no session records.
        struct Count final : ResultVisitor
        {
            int n = 0;
            void wort(const tWortKatStat&) override { ++n; }
        } stored, other;
        QList<DamagedLog> damaged;
        QVERIFY(!walkStoredResults(*d->CurrentUser, ExerciseKind::Wort, {}, stored, damaged));
        QCOMPARE(stored.n, 6);
        const tUser copy = *d->CurrentUser;
        d->walkResults(copy, ExerciseKind::Wort, {}, other, damaged);
        QCOMPARE(other.n, 6);
    }

    void exportFileOnlyWhenComplete()
    {
        d->WortStatList = {kat(serial(2004, 3, 5, 10, 15, 30), {4, 4, 0, 2}, {3, 1, 0, 2})};
        QByteArray text;
        QVERIFY(d->exportResultsTo(text, *d->CurrentUser, false, false, {}, {}, ekWortBild));
        QVERIFY(
            d->ExportResults(*d->CurrentUser, f.path("out.exp"), false, false, {}, {}, ekWortBild));
        QCOMPARE(f.read("out.exp"), text);
        QVERIFY(!d->ExportResults(*d->CurrentUser, f.path("no/such/folder/x.exp"), false, false, {},
                                  {}, ekWortBild));
        QVERIFY(f.sink.last().startsWith("Fehler beim Erstellen der Datei "));

        // A damaged log is named, and no partial export replaces the file on disk.
        d->CurrentUser->BildFiles = {f.path("AnnaBK_03_12.dat")};
        QCOMPARE(rows(ekWortBild), QStringList{"FAILED"});
        QVERIFY(f.sink.last().startsWith("Fehler: "));
        QVERIFY(f.sink.last().contains("AnnaBK_03_12.dat"));
        QVERIFY(f.write("Anna.exp", "previous"));
        QVERIFY(!d->ExportResults(*d->CurrentUser, f.path("Anna.exp"), false, false, {}, {},
                                  ekWortBild));
        QCOMPARE(f.read("Anna.exp"), QByteArray("previous"));
    }
};

QTEST_GUILESS_MAIN(TstExport)
#include "tst_export.moc"
