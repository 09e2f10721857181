#include "core/data/Random.h"
#include "core/search/ItemTables.h"
#include "core/search/ItemTableText.h"
#include "support/DataSupport.h"

#include <QBuffer>
#include <QTest>

#include <sys/stat.h>

using namespace gf;
using gf::test::Bytes;

namespace gf::test {

namespace {
// A table built from the layout table, independent of the writer: name, size, the
// cells row by row ("Kat<c>" in row 1, "w<r>_<c>" below), then the story lines.
Bytes& table(Bytes& b, const QString& name, int rows, int cols, const QStringList& lines = {})
{
    b.slot(name).u16(rows).u16(cols);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c)
            b.slot(r == 1 ? QStringLiteral("Kat%1").arg(c)
                          : QStringLiteral("w%1_%2").arg(r).arg(c));
    b.i32(int(lines.size()));
    for (const auto& l : lines)
        b.slot(l);
    return b;
}
// A file of tables (name, rows, columns) and the settings block.
QByteArray tables(const QList<std::tuple<QString, int, int>>& list, qint32 ms = 1500)
{
    Bytes b;
    b.u16(int(list.size()));
    for (const auto& [name, rows, cols] : list)
        table(b, name, rows, cols);
    b.i32(ms).b.append(100, '\0');
    return b.b;
}
// One 6x5 table whose item cell (r, c) holds the raw Windows-1252 bytes.
QByteArray withCell(int r, int c, const QByteArray& raw)
{
    QByteArray b = tables({{"Tiere", 6, 5}});
    const int at = 2 + 260 + ((r - 1) * 5 + (c - 1)) * 256;
    b.replace(at, 256, char(raw.size()) + raw + QByteArray(255 - raw.size(), '\0'));
    return b;
}
} // namespace

class TstItemTables : public QObject
{
    Q_OBJECT
    gf::test::DataFolder f;

    QString file(const QByteArray& bytes, const QString& name = "std.cfg")
    {
        f.write(name, bytes);
        return f.path(name);
    }

private slots:
    void init() { f.sink.entries.clear(); }

    void loadsTheLayoutAndKeepsUnusedCells()
    {
        Bytes b;
        b.u16(1);
        table(b, "Tiere", 6, 5, {"Erste Zeile", "", "Dritte Zeile"}).i32(1800).b.append(100, '\0');
        ItemTables t;
        Random r(7);
        QVERIFY(t.LoadItemTables(file(b.b), r, &f.sink));
        QCOMPARE(t.KatCount, 4);
        QCOMPARE(t.DisplayTime, 1800);
        const tConfig& c = *t.Current;
        QCOMPARE(c.Name, QStringLiteral("Tiere"));
        QCOMPARE(c.Cells[1][5].Text, QStringLiteral("Kat5"));
        QCOMPARE(c.Cells[6][2].Text, QStringLiteral("w6_2"));
        QVERIFY(c.Cells[7][1].Text.isEmpty());
        QVERIFY(c.Cells[1][6].Text.isEmpty());
        QCOMPARE(c.Lines, (QStringList{"Erste Zeile", "", "Dritte Zeile"}));
        // The file writer reproduces the bytes.
        QBuffer in(&b.b);
        in.open(QIODevice::ReadOnly);
        ItemTableFile parsed;
        QVERIFY(readItemTables(in, "std.cfg", parsed, nullptr));
        QCOMPARE(writeItemTables(parsed), b.b);
    }

    void drawsEachTableAlikeAndResetsCounters()
    {
        const QString name = file(tables({{"A", 6, 5}, {"B", 6, 5}, {"C", 6, 5}}));
        ItemTables t;
        Random r(42);
        int seen[3] = {};
        for (int i = 0; i < 3000; ++i) {
            QVERIFY(t.LoadItemTables(name, r, &f.sink));
            ++seen[t.CurrentIndex];
            QCOMPARE(t.Current, t.Tables[t.CurrentIndex]);
            // Counters of the last run do not survive into the next.
            QCOMPARE(t.Current->Cells[3][2].Asked, quint16(0));
            t.Current->Cells[3][2].Asked = 9;
        }
        for (int n : seen)
            QVERIFY2(n > 900 && n < 1100, qPrintable(QString::number(n)));
        t.Current->Cells[4][3].Correct = 2;
        t.Current->Cells[4][3].PosShown[1] = 2;
        t.ResetItemCounters();
        QCOMPARE(t.Current->Cells[4][3].Correct, quint16(0));
        QCOMPARE(t.Current->Cells[4][3].PosShown[1], quint16(2));
    }

    void refusesWhatTheExercisesCannotShow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("11 rows") << tables({{"Gross", 11, 3}})
                                 << "Tabelle 1 „Gross“ in std.cfg ist nicht verwendbar: sie hat "
                                    "mehr als 10";
        QTest::newRow("6 columns") << tables({{"Breit", 6, 6}}) << "mehr als 4 Kategorien";
        // refused before a cell lands outside the 10 x 10 grid
        QTest::newRow("11 columns") << tables({{"Weit", 10, 11}}) << "mehr als 10 Zeilen";
        QTest::newRow("settings cut") << tables({{"Kurz", 6, 5}}).chopped(54) << "endet vor";
        QTest::newRow("7 rows") << tables({{"Lang", 7, 5}}) << "mehr als 4 Begriffe";
        QTest::newRow("9 items") << tables({{"Klein", 5, 4}}) << "weniger als 10 Begriffe";
        QTest::newRow("second table")
            << tables({{"Gut", 6, 5}, {"Leer", 0, 0}}) << "Tabelle 2 „Leer“";
        QTest::newRow("no tables") << tables({}) << "keine Tabelle";
        // Items a trainee could not tell apart or not see, and an item in column 1,
        // where the category of an item is looked up first.
        QTest::newRow("item in column 1")
            << withCell(5, 1, "w3_4") << "Tabelle 1 „Tiere“ in std.cfg ist nicht verwendbar: "
                                         "der Begriff „w3_4“ steht auch in Spalte 1 (Zeile 5)";
        QTest::newRow("controls only") << withCell(3, 2, "\x01\x02") << "„\\x01\\x02“ (Zeile 3, "
                                                                     "Spalte 2) enthält ein Steuer";
        QTest::newRow("1252 hole") << withCell(4, 3, "Hu\x81nd") << "„Hu\\x81nd“";
        QTest::newRow("1252 hole 9D") << withCell(4, 3, "\x9D") << "Steuerzeichen";
        QTest::newRow("NUL") << withCell(6, 5, QByteArray("Hu\0nd", 5)) << "„Hu\\x00nd“";
        QTest::newRow("trailing blank") << withCell(6, 5, "w3_2 ") << "„w3_2 “ (Zeile 6, Spalte 5) "
                                                                     "beginnt oder endet";
        QTest::newRow("empty file") << QByteArray() << "endet vor dem Ende";
        QTest::newRow("65535 tables") << Bytes().u16(65535).b << "endet vor dem Ende";
        Bytes huge;
        huge.u16(1).slot("T").u16(6).u16(5).b.append(30 * 256, 'x');
        QTest::newRow("huge line count") << huge.i32(0x7FFFFFFF).b << "endet vor dem Ende";
    }
    void refusesWhatTheExercisesCannotShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        // A table drawn before stays current when a later load fails.
        ItemTables t;
        Random r(1);
        QVERIFY(t.LoadItemTables(file(tables({{"Vorher", 6, 5}}), "good.cfg"), r, &f.sink));
        const auto before = t.Current;
        QVERIFY(!t.LoadItemTables(file(bytes), r, &f.sink));
        QCOMPARE(f.sink.entries.size(), 1);
        QVERIFY2(f.sink.last().startsWith("Fehler: ") && f.sink.last().contains(says),
                 qPrintable(f.sink.last()));
        QCOMPARE(t.Current, before);
        QCOMPARE(t.KatCount, 4);
        QVERIFY(!t.LoadItemTables(f.path("missing.cfg"), r, &f.sink));
        QCOMPARE(t.Current, before);
        // a pipe in the table's place is refused at once, by name
        ::mkfifo(QFile::encodeName(f.path("pipe.cfg")).constData(), 0644);
        f.sink.clear();
        QVERIFY(!t.LoadItemTables(f.path("pipe.cfg"), r, &f.sink));
        QVERIFY(f.sink.last().contains("pipe.cfg"));
        QCOMPARE(t.Current, before);
    }

    void lookups()
    {
        ItemTables t;
        Random r(1);
        QVERIFY(t.LoadItemTables(file(tables({{"T", 6, 5}})), r, &f.sink));
        tConfig& c = *t.Current;
        QCOMPARE(t.FindColumn("w5_4"), 4);
        QCOMPARE(t.FindColumn("Kat2"), -1); // row 1 is not searched
        c.Cells[4][1].Text = "Hund";
        c.Cells[5][3].Text = "Hund";
        c.Cells[3][4].Text = "Hund";
        QCOMPARE(t.FindColumn("Hund"), 4); // an earlier row wins
        c.Cells[3][1].Text = "w6_3";
        QCOMPARE(t.FindColumn("w6_3"), 1); // column 1 before the item columns
        QCOMPARE(t.FindCell("Hund", &f.sink), &c.Cells[3][4]);
        QCOMPARE(t.FindCell("w4_1", &f.sink), nullptr); // column 1 holds no item
        QCOMPARE(f.sink.last(), QStringLiteral("Nicht gefunden: w4_1"));
        QCOMPARE(t.FindCell("hund", &f.sink), nullptr);

        const QList<tSampleCfg> tasks = {{"Hund", 1, 4}, {"Katze", 2, 5}, {"Hund", 3, 6}};
        QCOMPARE(CountTasks(tasks, "Hund"), 2);
        QCOMPARE(CountTasks(tasks, "hund"), 0);
    }
    void textFormRoundTrip()
    {
        const QString source = QStringLiteral("# Wörter\n"
                                              "Anzeigezeit: 1200\n"
                                              "\n"
                                              "Tabelle: Dinge\n"
                                              "Zeile:  | Fahrzeug | Tier | Obst | Werkzeug\n"
                                              "Zeile:  | das | das | das | das\n"
                                              "Zeile: 1 | Auto | Hund | Apfel | Hammer\n"
                                              "Zeile: 2 | Bus | Katze | Birne | Säge\n"
                                              "Zeile: 3 | Zug # 3 | Maus | Kirsche | Zange\n"
                                              "Zeile:   | Roller | Pferd | Pflaume | Feile\n"
                                              "Text: Es war einmal…\n"
                                              "Text:\n"
                                              "Text: Ende € 5\n");
        ItemTableFile parsed;
        QString error;
        QVERIFY2(parseItemTableText(source, parsed, &error), qPrintable(error));
        QCOMPARE(parsed.DisplayTime, 1200);
        QCOMPARE(parsed.Tables.size(), 1);
        const tConfig& c = *parsed.Tables[0];
        QCOMPARE(c.Cells[4][5].Text, QStringLiteral("Säge"));
        QCOMPARE(c.Cells[5][2].Text, QStringLiteral("Zug # 3"));
        QVERIFY(c.Cells[6][1].Text.isEmpty());
        QCOMPARE(c.Lines, (QStringList{"Es war einmal…", "", "Ende € 5"}));

        // Binary and back, then text and back: nothing changes.
        QByteArray bytes = writeItemTables(parsed);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        ItemTableFile back;
        QVERIFY(readItemTables(in, "x.cfg", back, &error));
        const QString printed = formatItemTableText(back);
        ItemTableFile again;
        QVERIFY2(parseItemTableText(printed, again, &error), qPrintable(error));
        QCOMPARE(writeItemTables(again), bytes);
        QCOMPARE(quint8(bytes[2 + 256 + 4 + 256 * 19 + 2]), quint8(0xE4)); // "ä" of Säge
    }

    void textFormErrorsNameTheLine_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("says");
        QTest::newRow("row before table") << "Zeile: a|b"
                                          << "Fehler in Zeile 1:";
        QTest::newRow("unknown") << "Tabelle: T\nZeil: a"
                                 << "Fehler in Zeile 2: unbekannte";
        QTest::newRow("cell count") << "Tabelle: T\nZeile: |a|b\nZeile: |a"
                                    << "Fehler in Zeile 3";
        QTest::newRow("too few items")
            << "#\nTabelle: Klein\nZeile: |a|b|c|d" + QString("\nZeile: |a|b|c|d").repeated(2)
            << "Zeile 2: die Tabelle 1 „Klein“";
        const QString dinge = "Tabelle: D\nZeile: |a|b|c|d\nZeile: |a|b|c|d\nZeile: |e|f|g|h\n"
                              "Zeile: |i|j|k|l\nZeile: x|m|n|o|";
        QTest::newRow("empty item") << dinge << "leeren Begriff (Zeile 5, Spalte 5)";
        QTest::newRow("item twice") << QString(dinge).replace("|o|", "|o|f") << "„f“ steht mehr";
        QTest::newRow("not 1252") << "Tabelle: T\nZeile: |猫|b|c|d"
                                  << "Windows-1252";
        QTest::newRow("256 bytes") << "Tabelle: " + QString(256, 'x') << "länger als 255";
        QTest::newRow("item in column 1")
            << QString(dinge).replace("Zeile: |i", "Zeile: e|i").replace("|o|", "|o|p")
            << "Zeile 1: die Tabelle 1 „D“ ist nicht verwendbar: der Begriff „e“ steht auch";
        QTest::newRow("11 rows")
            << "Tabelle: T" + QString("\nZeile: |a|b|c|d").repeated(11) << "Zeile 12: die Tabelle "
                                                                          "hat schon 10 Zeilen";
        QTest::newRow("time") << "Anzeigezeit: schnell"
                              << "Anzeigezeit";
        QTest::newRow("time too short") << "Anzeigezeit: 299" << "von 300 bis 10000";
        QTest::newRow("time 24 days") << "Anzeigezeit: 2147483647" << "von 300 bis 10000";
    }
    void textFormErrorsNameTheLine()
    {
        QFETCH(QString, source);
        QFETCH(QString, says);
        ItemTableFile parsed;
        QString error;
        QVERIFY(!parseItemTableText(source, parsed, &error));
        QVERIFY2(error.contains(says), qPrintable(error));
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstItemTables)
#include "tst_itemtables.moc"
