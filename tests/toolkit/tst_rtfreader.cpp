// The rich-text reader of the help and tip pages, including broken input.
#include "core/data/Random.h"
#include "toolkit/RtfReader.h"

#include <QGuiApplication>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

using namespace gf;

namespace gf::test {

namespace {

struct Run
{
    QString text;
    QTextCharFormat format;
};

QList<Run> runs(const QTextDocument& doc)
{
    QList<Run> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat()});
    return out;
}

QTextCharFormat formatOf(const QTextDocument& doc, const QString& text)
{
    for (const Run& r : runs(doc))
        if (r.text.contains(text))
            return r.format;
    return {};
}

const QByteArray kSample =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Comic Sans MS;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Geheim}{\\author Jemand}}\r\n"
    "{\\*\\generator Schreiber 5.1;}\\viewkind4\\uc1\\pard\\qc\\b\\fs32 \\'dcberschrift\\par\r\n"
    "\\pard\\b0\\fs24 Normal {\\i schr\\'e4g} und {\\ul unter}\\ulnone  mit \\cf1 Rot\\cf0 "
    ".\\par\r\n"
    "Zeile\\line zwei\\tab Tab {\\cf2\\b blau fett}\\par\r\n"
    "{\\pict\\wmetafile8\\picw100 0123456789abcdef}\\qr rechts \\{\\}\\\\ \\'80\\par}";

} // namespace

class TestRtfReader : public QObject
{
    Q_OBJECT

private slots:
    void sampleTextAndFormats()
    {
        QTextDocument doc;
        RtfReader reader(&doc);
        QFont base(QStringLiteral("Arial"));
        base.setPixelSize(19);
        reader.setBaseFont(base);
        reader.setBaseColour(Qt::black);
        QVERIFY(reader.read(kSample));
        QCOMPARE(doc.toRawText(),
                 QStringLiteral("Überschrift\u2029Normal schräg und unter mit Rot.\u2029Zeile"
                                "\u2028zwei\tTab blau fett\u2029rechts {}\\ €"));

        const auto align = [](const QTextBlock& b) {
            return b.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        };
        QCOMPARE(align(doc.begin()), Qt::AlignHCenter);
        QCOMPARE(align(doc.begin().next()), Qt::AlignLeft);
        QCOMPARE(align(doc.lastBlock()), Qt::AlignRight);

        const QFont title = formatOf(doc, QStringLiteral("Überschrift")).font();
        QVERIFY(title.bold());
        QCOMPARE(title.pixelSize(), 21); // 16 pt at 96 dpi
        QVERIFY(formatOf(doc, QStringLiteral("schräg")).font().italic());
        QVERIFY(formatOf(doc, QStringLiteral("unter")).font().underline());
        // a group's formatting ends with the group
        QVERIFY(!formatOf(doc, QStringLiteral(" mit ")).font().underline());
        QVERIFY(!formatOf(doc, QStringLiteral(" und ")).font().italic());
        QCOMPARE(formatOf(doc, QStringLiteral("Rot")).foreground().color(), QColor(Qt::red));
        QCOMPARE(formatOf(doc, QStringLiteral(".")).foreground().color(), QColor(Qt::black));
        QCOMPARE(formatOf(doc, QStringLiteral("blau")).foreground().color(), QColor(Qt::blue));
    }

    void plainResets()
    {
        QTextDocument doc;
        RtfReader reader(&doc);
        QVERIFY(reader.read("{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}\\b\\i\\ul\\cf1\\fs40 "
                            "A\\plain B\\ul0 C\\b D\\b0 E}"));
        const QTextCharFormat b = formatOf(doc, QStringLiteral("B"));
        QVERIFY(!b.font().bold() && !b.font().italic() && !b.font().underline());
        QCOMPARE(b.foreground().color(), QColor(Qt::black));
        QVERIFY(formatOf(doc, QStringLiteral("A")).font().underline());
        QVERIFY(formatOf(doc, QStringLiteral("D")).font().bold());
        QVERIFY(!formatOf(doc, QStringLiteral("E")).font().bold());
    }

    void text_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("wellFormed");
        QTest::newRow("not rich text") << QByteArray("Nur Text \xe4") << "Nur Text ä" << false;
        // \u with its stand-in characters skipped, \uc per group, negative values
        QTest::newRow("unicode") << QByteArray("{\\rtf1 a\\u228?b{\\uc2\\u246\\'3f\\'3fc}\\u252 ?d"
                                               "\\u-3 ?e\\u8364\\'80f\\uc0\\u223 g}")
                                 << "aäböcüd\uFFFDe€fßg" << true;
        QTest::newRow("ignored parts")
            << QByteArray("{\\rtf1{\\*\\unbekannt Geheim4 {\\b Geheim5}}{\\pict\\pngblip 4765}"
                          "{\\*\\fldinst Geheim6}{\\header Geheim7}Sichtbar\\bin3 {}}x}")
            << "Sichtbarx" << true;
        QTest::newRow("unclosed group") << QByteArray("{\\rtf1 abc {\\b def") << "abc def" << false;
        QTest::newRow("extra close") << QByteArray("{\\rtf1 abc}} def}") << "abc def" << false;
        QTest::newRow("truncated escape") << QByteArray("{\\rtf1 abc\\") << "abc" << false;
        QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb" << false;
        QTest::newRow("huge size and colour")
            << QByteArray("{\\rtf1\\fs-99999 a\\fs99999 b\\cf2147483647 c\\cf-5 d}") << "abcd"
            << true;
        // parameters end after ten digits; the rest is text
        QTest::newRow("huge parameter")
            << QByteArray("{\\rtf1\\fs123456789012 x}") << "12 x" << true;
        QTest::newRow("huge unicode")
            << QByteArray("{\\rtf1\\u9999999999 ?x}") << "\uFFFDx" << true;
        QTest::newRow("huge skip count")
            << QByteArray("{\\rtf1\\uc9999999\\u65 abcdefghijk}") << "Aijk" << true;
        QTest::newRow("binary past the end")
            << QByteArray("{\\rtf1 a\\bin2147483647 b}") << "a" << false;
        QTest::newRow("long word") << QByteArray("{\\rtf1 \\" + QByteArray(5000, 'a') + " x}")
                                   << QString(5000 - 32, u'a') + " x" << true;
        QTest::newRow("deep nesting")
            << QByteArray("{\\rtf1 " + QByteArray(200000, '{') + "tief" + QByteArray(10, '}'))
            << "tief" << false;
    }

    void text()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, text);
        QFETCH(bool, wellFormed);
        QTextDocument doc;
        RtfReader reader(&doc);
        QFont base;
        base.setPixelSize(19);
        reader.setBaseFont(base);
        QCOMPARE(reader.read(input), wellFormed);
        QCOMPARE(doc.toRawText(), text);
        for (const Run& r : runs(doc))
            QVERIFY(r.format.font().pixelSize() >= 1 && r.format.font().pixelSize() <= 600);
    }

    void truncationsAndMutations()
    {
        QTextDocument full;
        RtfReader(&full).read(kSample);
        const QString whole = full.toPlainText();

        // a cut page shows a beginning of the whole page's text
        for (int n = 0; n <= kSample.size(); ++n) {
            QTextDocument doc;
            RtfReader reader(&doc);
            reader.read(kSample.left(n));
            QString shown = doc.toPlainText();
            QVERIFY2(whole.startsWith(shown) || n < 6,
                     qPrintable(QStringLiteral("cut at %1: %2").arg(n).arg(shown)));
        }

        // random damage never crashes or hangs, and what is ignored stays hidden
        Random random(20240601);
        const char alphabet[] = "{}\\'*;0123456789abcdefu- \r\n";
        for (int round = 0; round < 3000; ++round) {
            QByteArray damaged = kSample;
            const int edits = random.uniform(1, 8);
            for (int e = 0; e < edits; ++e) {
                const int at = random.below(int(damaged.size()));
                switch (random.below(3)) {
                case 0:
                    damaged[at] = alphabet[random.below(int(sizeof(alphabet) - 1))];
                    break;
                case 1:
                    damaged.remove(at, random.uniform(1, 6));
                    break;
                default:
                    damaged.insert(at, alphabet[random.below(int(sizeof(alphabet) - 1))]);
                }
                if (damaged.isEmpty())
                    damaged = "{";
            }
            QTextDocument doc;
            RtfReader reader(&doc);
            reader.read(damaged);
            QVERIFY(doc.characterCount() <= damaged.size() + 1);
        }
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TestRtfReader)
#include "tst_rtfreader.moc"
