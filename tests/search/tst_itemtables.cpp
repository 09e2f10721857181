#include "data/MessageSink.h"
#include "data/Random.h"
#include "search/ItemTableText.h"
#include "search/ItemTables.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace gf;

namespace {
struct Sink final : MessageSink
{
    QStringList plain;
    int message(const QString& text, int, int, int) override
    {
        plain.append(text);
        return mrOk;
    }
    void plainMessage(const QString& text) override { plain.append(text); }
};

// Table bytes built from the layout table, independent of the writer.
struct Bytes
{
    QByteArray b;
    Bytes& u16(int v)
    {
        b.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
        return *this;
    }
    Bytes& i32(qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            b.append(char(quint32(v) >> (8 * i) & 0xFF));
        return *this;
    }
    Bytes& slot(const QByteArray& latin1)
    {
        b.append(char(latin1.size())).append(latin1).append(255 - latin1.size(), '\0');
        return *this;
    }
    Bytes& table(const QByteArray& name, int rows, int cols, QList<QByteArray> lines = {},
                 const QByteArray& prefix = "w")
    {
        slot(name).u16(rows).u16(cols);
        for (int r = 1; r <= rows; ++r)
            for (int c = 1; c <= cols; ++c)
                slot(r == 1 ? "Kat" + QByteArray::number(c)
                            : prefix + QByteArray::number(r) + "_" + QByteArray::number(c));
        i32(int(lines.size()));
        for (const auto& l : lines)
            slot(l);
        return *this;
    }
    Bytes& settings(qint32 ms)
    {
        i32(ms);
        b.append(100, '\0');
        return *this;
    }
};
} // namespace

class TstItemTables : public QObject
{
    Q_OBJECT
    QTemporaryDir tmp;
    Sink sink;

    QString file(const QByteArray& bytes, const QString& name = "std.cfg")
    {
        QFile f(tmp.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }

private slots:
    void init() { sink.plain.clear(); }

    void newConfigHasAFullGrid()
    {
        tConfig c;
        QCOMPARE(c.RowCount, quint16(4));
        QCOMPARE(c.ColCount, quint16(4));
        QVERIFY(c.Lines.isEmpty());
        c.Cells[10][10].Asked = 5;
        QCOMPARE(c.Cells[1][1].Asked, quint16(0));
        QCOMPARE(c.Cells[10][9].Asked, quint16(0));
        QVERIFY(&c.Cells[2][3] != &c.Cells[3][2]);
    }

    void loadsTheLayoutAndKeepsUnusedCells()
    {
        Bytes b;
        b.u16(1).table("Tiere", 6, 5, {"Erste Zeile", "", "Dritte Zeile"}).settings(1800);
        ItemTables t;
        Random r(7);
        QVERIFY(t.LoadItemTables(file(b.b), r, &sink));
        QCOMPARE(t.Tables.size(), 1);
        QCOMPARE(t.CurrentIndex, 0);
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
        QVERIFY(ReadItemTables(in, "std.cfg", parsed, nullptr));
        QCOMPARE(WriteItemTables(parsed), b.b);
    }

    void drawsEachTableAlikeAndResetsCounters()
    {
        Bytes b;
        b.u16(3).table("A", 6, 5).table("B", 6, 5).table("C", 6, 5).settings(1500);
        const QString name = file(b.b);
        ItemTables t;
        Random r(42);
        int seen[3] = {};
        for (int i = 0; i < 3000; ++i) {
            QVERIFY(t.LoadItemTables(name, r, &sink));
            ++seen[t.CurrentIndex];
            QCOMPARE(t.Current, t.Tables[t.CurrentIndex]);
            // Counters of the last run do not survive into the next.
            t.Current->Cells[3][2].Asked = 9;
            t.Current->Cells[3][2].Correct = 9;
        }
        for (int n : seen)
            QVERIFY2(n > 900 && n < 1100, qPrintable(QString::number(n)));
        QVERIFY(t.LoadItemTables(name, r, &sink));
        QCOMPARE(t.Current->Cells[3][2].Asked, quint16(0));
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
        QTest::newRow("11 rows") << Bytes().u16(1).table("Gross", 11, 3).settings(1).b
                                 << "Tabelle 1 „Gross“ in std.cfg ist nicht verwendbar: sie hat "
                                    "mehr als 10";
        QTest::newRow("6 columns")
            << Bytes().u16(1).table("Breit", 6, 6).settings(1).b << "mehr als 4 Kategorien";
        QTest::newRow("7 rows") << Bytes().u16(1).table("Lang", 7, 5).settings(1).b
                                << "mehr als 4 Begriffe";
        QTest::newRow("9 items") << Bytes().u16(1).table("Klein", 5, 4).settings(1).b
                                 << "weniger als 10 Begriffe";
        QTest::newRow("second table")
            << Bytes().u16(2).table("Gut", 6, 5).table("Leer", 0, 0).settings(1).b
            << "Tabelle 2 „Leer“";
        QTest::newRow("no tables") << Bytes().u16(0).settings(1).b << "keine Tabelle";
        QTest::newRow("empty file") << QByteArray() << "endet vor dem Ende";
        QTest::newRow("65535 tables") << Bytes().u16(65535).b << "endet vor dem Ende";
        QTest::newRow("huge line count")
            << Bytes().u16(1).slot("T").u16(6).u16(5).b + QByteArray(30 * 256, 'x') +
                   Bytes().i32(0x7FFFFFFF).b
            << "endet vor dem Ende";
        QTest::newRow("no settings") << Bytes().u16(1).table("T", 6, 5).b << "endet vor dem Ende";
    }
    void refusesWhatTheExercisesCannotShow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        // A table drawn before stays current when a later load fails.
        Bytes good;
        good.u16(1).table("Vorher", 6, 5).settings(1500);
        ItemTables t;
        Random r(1);
        QVERIFY(t.LoadItemTables(file(good.b, "good.cfg"), r, &sink));
        const auto before = t.Current;
        QVERIFY(!t.LoadItemTables(file(bytes), r, &sink));
        QCOMPARE(sink.plain.size(), 1);
        QVERIFY2(sink.plain[0].startsWith("Fehler: ") && sink.plain[0].contains(says),
                 qPrintable(sink.plain[0]));
        QCOMPARE(t.Current, before);
        QCOMPARE(t.KatCount, 4);
        QVERIFY(!t.LoadItemTables(tmp.filePath("missing.cfg"), r, &sink));
        QCOMPARE(t.Current, before);
    }

    void lookups()
    {
        Bytes b;
        b.u16(1).table("T", 6, 5).settings(1500);
        ItemTables t;
        Random r(1);
        QVERIFY(t.LoadItemTables(file(b.b), r, &sink));
        tConfig& c = *t.Current;
        QCOMPARE(t.FindColumn("w5_4"), 4);
        QCOMPARE(t.FindColumn("Kat2"), -1); // row 1 is not searched
        c.Cells[4][1].Text = "Hund";
        c.Cells[5][3].Text = "Hund";
        QCOMPARE(t.FindColumn("Hund"), 1);
        c.Cells[3][4].Text = "Hund";
        QCOMPARE(t.FindColumn("Hund"), 4); // an earlier row wins
        QCOMPARE(t.FindCell("Hund", &sink), &c.Cells[3][4]);
        QCOMPARE(t.FindCell("w4_1", &sink), nullptr); // column 1 holds no item
        QCOMPARE(sink.plain.last(), QStringLiteral("Nicht gefunden: w4_1"));
        QCOMPARE(t.FindCell("hund", &sink), nullptr);

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
                                              "Zeile:   |  | Pferd | Pflaume | Feile\n"
                                              "Text: Es war einmal…\n"
                                              "Text:\n"
                                              "Text: Ende € 5\n");
        ItemTableFile f;
        QString error;
        QVERIFY2(ParseItemTableText(source, f, &error), qPrintable(error));
        QCOMPARE(f.DisplayTime, 1200);
        QCOMPARE(f.Tables.size(), 1);
        const tConfig& c = *f.Tables[0];
        QCOMPARE(c.RowCount, quint16(6));
        QCOMPARE(c.ColCount, quint16(5));
        QCOMPARE(c.Cells[2][3].Text, QStringLiteral("das"));
        QCOMPARE(c.Cells[4][5].Text, QStringLiteral("Säge"));
        QCOMPARE(c.Cells[5][2].Text, QStringLiteral("Zug # 3"));
        QVERIFY(c.Cells[6][2].Text.isEmpty());
        QCOMPARE(c.Lines, (QStringList{"Es war einmal…", "", "Ende € 5"}));

        // Binary and back, then text and back: nothing changes.
        QByteArray bytes = WriteItemTables(f);
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        ItemTableFile back;
        QVERIFY(ReadItemTables(in, "x.cfg", back, &error));
        const QString printed = FormatItemTableText(back);
        ItemTableFile again;
        QVERIFY2(ParseItemTableText(printed, again, &error), qPrintable(error));
        QCOMPARE(WriteItemTables(again), bytes);
        QCOMPARE(quint8(bytes[2 + 256 + 4 + 256 * 19 + 2]), quint8(0xE4)); // "ä" of Säge
    }

    void textFormErrorsNameTheLine_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("says");
        const QString rows = "Zeile: |a|b|c|d\nZeile: |a|b|c|d\nZeile: |a|b|c|d\n"
                             "Zeile: |a|b|c|d\nZeile: |a|b|c|d\n";
        QTest::newRow("row before table") << "Zeile: a|b"
                                          << "Fehler in Zeile 1:";
        QTest::newRow("unknown") << "Tabelle: T\nZeil: a"
                                 << "Fehler in Zeile 2: unbekannte";
        QTest::newRow("cell count") << "Tabelle: T\nZeile: |a|b\nZeile: |a"
                                    << "Fehler in Zeile 3";
        QTest::newRow("too few items")
            << "#\nTabelle: Klein\nZeile: |a|b|c|d" + QString("\nZeile: |a|b|c|d").repeated(2)
            << "Zeile 2: die Tabelle „Klein“";
        QTest::newRow("too many rows")
            << "Tabelle: T\n" + rows + "Zeile: |a|b|c|d\nZeile: |a|b|c|d\n"
            << "mehr als 4 Begriffe";
        QTest::newRow("not 1252") << "Tabelle: T\nZeile: |猫|b|c|d"
                                  << "Windows-1252";
        QTest::newRow("256 bytes") << "Tabelle: " + QString(256, 'x') << "länger als 255";
        QTest::newRow("time") << "Anzeigezeit: schnell"
                              << "Anzeigezeit";
        QTest::newRow("nothing") << "# leer\n"
                                 << "keine Tabelle";
    }
    void textFormErrorsNameTheLine()
    {
        QFETCH(QString, source);
        QFETCH(QString, says);
        ItemTableFile f;
        QString error;
        QVERIFY(!ParseItemTableText(source, f, &error));
        QVERIFY2(error.contains(says), qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(TstItemTables)
#include "tst_itemtables.moc"
