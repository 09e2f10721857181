// Checks the built installation folder: every file the program needs is there and is
// what the program and the trainee expect of it.
#include "core/search/ItemTables.h"
#include "platform/MediaFiles.h"
#include "platform/SoundPlayer.h"
#include "shell/Startup.h"
#include "toolkit/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTextDocument>
#include <QtEndian>
#include <QtTest>

#include <cmath>

using namespace gf;

namespace gf::test {

namespace {

QString sub(const QString& folder)
{
    return qEnvironmentVariable("GF_INSTALL_DIR") + u'/' + folder + u'/';
}

// Peak of the first channel of a 16-bit PCM file, 0..1.
double peak(const QString& path, const WavInfo& info)
{
    QFile f(path);
    const QByteArray d = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    const qsizetype at = d.indexOf("data", 12) + 8;
    const int frame = 2 * info.channels;
    double top = 0;
    for (qsizetype i = at; at >= 8 && i + frame <= at + info.dataBytes; i += frame)
        top = std::max(top, std::abs(qFromLittleEndian<qint16>(d.constData() + i) / 32768.0));
    return top;
}

QImage loadPicture(const QString& name)
{
    return QImage(mediaPath(sub("BMP"), name));
}

} // namespace

class TstInstallation : public QObject
{
    Q_OBJECT

private slots:
    // Each inventory name must resolve the way the program resolves it, and no
    // stray file may hide in the folders (it would only bloat the installation).
    void inventoryIsCompleteAndNothingElse()
    {
        const QList<std::pair<QString, QStringList>> lists = {
            {"BMP", inventoryPictures()},
            {"WAV", inventorySounds()},
            {"HLP",
             inventoryHelpPages() + QStringList{"stat.rtf", "start.rtf", "fortschritt.rtf"}}};
        for (const auto& [folder, names] : lists) {
            QSet<QString> expected;
            for (const QString& name : names) {
                QVERIFY2(mediaFileExists(sub(folder), name), qPrintable(folder + '/' + name));
                expected.insert(name.toLower());
            }
            for (const QString& file : QDir(sub(folder)).entryList(QDir::Files))
                QVERIFY2(expected.contains(file.toLower()),
                         qPrintable(folder + '/' + file + " is not in the inventory"));
        }
    }

    void picturesAreUncompressed24BitBmpsOfTheirSizes()
    {
        for (const QString& name : inventoryPictures()) {
            QFile f(mediaPath(sub("BMP"), name));
            const QByteArray h = f.open(QIODevice::ReadOnly) ? f.read(54) : QByteArray();
            QVERIFY2(h.size() == 54 && h.startsWith("BM"), qPrintable(name + ": no BMP header"));
            QVERIFY2(qFromLittleEndian<quint16>(h.constData() + 28) == 24,
                     qPrintable(name + ": not 24 bit"));
            QVERIFY2(qFromLittleEndian<quint32>(h.constData() + 30) == 0,
                     qPrintable(name + ": compressed"));
            const QSize size(qFromLittleEndian<qint32>(h.constData() + 18),
                             std::abs(qFromLittleEndian<qint32>(h.constData() + 22)));
            QCOMPARE(loadPicture(name).size(), size);
        }
    }

    void soundsArePcmWithinTheirDurations()
    {
        int rate = 0;
        const QStringList events = {"HONK",  "HAHN",     "HARFE",    "HUND",  "KUH",
                                    "ORGEL", "DRUMROL3", "TROMPETE", "GEIGE", "VOGEL"};
        for (const QString& name : inventorySounds()) {
            // The player takes these files; they are held to the plainest form.
            const QString path = mediaPath(sub("WAV"), name);
            const std::optional<WavInfo> w = readWavInfo(path);
            QVERIFY2(w && w->formatTag == 1 && w->bitsPerSample == 16,
                     qPrintable(name + ": not 16-bit PCM"));
            if (rate == 0)
                rate = w->sampleRate;
            QVERIFY2(w->sampleRate == rate, qPrintable(name + ": another sample rate"));
            const QString base = name.section(u'.', 0, 0).toUpper();
            double low = 0.05, high = 5.0;
            if (base.size() == 1 && base[0].isDigit())
                low = 0.25, high = 1.0;
            else if ((base.startsWith(u'J') && base != "JINGLE") || base.startsWith(u'N'))
                low = 0.2, high = 3.0;
            else if (events.contains(base))
                low = 0.5, high = 3.1;
            const double seconds = w->duration.count() / 1000.0;
            QVERIFY2(seconds >= low && seconds <= high,
                     qPrintable(QStringLiteral("%1: %2 s, expected %3..%4")
                                    .arg(name)
                                    .arg(seconds)
                                    .arg(low)
                                    .arg(high)));
            QVERIFY2(peak(path, *w) > 0.1, qPrintable(name + ": almost silent"));
        }
    }

    // The pages must read without error in the program's own reader and say something.
    void helpPagesReadCleanly()
    {
        int umlauts = 0;
        for (const QString& name :
             inventoryHelpPages() + QStringList{"stat.rtf", "start.rtf", "fortschritt.rtf"}) {
            QTextDocument doc;
            RtfReader reader(&doc);
            QVERIFY2(reader.readFile(mediaPath(sub("HLP"), name)),
                     qPrintable(name + ": " + reader.errorString()));
            const QString text = doc.toPlainText();
            QVERIFY2(text.size() > 250, qPrintable(name + ": too short"));
            // Neither markup nor a skipped part such as the font table may show.
            QVERIFY2(!text.contains(u'\\') && !text.contains(u'{') &&
                         !text.contains(QStringLiteral("Arial;")) &&
                         !text.contains(QChar::ReplacementCharacter),
                     qPrintable(name + ": markup or undecodable characters in the text"));
            for (QChar c : {u'ä', u'ö', u'ü', u'ß'})
                umlauts += text.count(c);
        }
        // German pages read in the right code page show their umlauts.
        QVERIFY(umlauts > 100);
    }

    // Both tables: 6×5 with a story; in bmp.cfg every item is a picture and a column
    // holds one group of pictures.
    void tablesSuitTheirExercises_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("minTables");
        QTest::newRow("words") << "std.cfg" << 6;
        QTest::newRow("pictures") << "bmp.cfg" << 4;
    }
    void tablesSuitTheirExercises()
    {
        QFETCH(QString, name);
        QFETCH(int, minTables);
        const bool pictures = name == "bmp.cfg";
        QFile f(sub(".") + name);
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.errorString()));
        ItemTableFile file;
        QString error;
        QVERIFY2(readItemTables(f, name, file, &error), qPrintable(error));
        QVERIFY(file.Tables.size() >= minTables);
        for (const auto& t : file.Tables) {
            QCOMPARE(t->RowCount, quint16(6));
            QCOMPARE(t->ColCount, quint16(5));
            QVERIFY2(t->Lines.size() >= 3, qPrintable(t->Name + ": no story"));
            for (int c = 2; c <= 5; ++c) {
                QVERIFY(!t->Cells[1][c].Text.isEmpty() && !t->Cells[2][c].Text.isEmpty());
                const QString group = t->Cells[3][c].Text.section(u'_', 0, 0).toLower();
                for (int r = 3; r <= 6; ++r) {
                    const QString& item = t->Cells[r][c].Text;
                    if (!pictures)
                        continue;
                    QVERIFY2(mediaFileExists(sub("BMP"), item + ".bmp"),
                             qPrintable(t->Name + ": no picture " + item));
                    QVERIFY2(item.section(u'_', 0, 0).toLower() == group,
                             qPrintable(t->Name + ": " + item + " mixed in"));
                }
            }
        }
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstInstallation)
#include "tst_installation.moc"
