// Checks the built installation folder: every file the program needs is there and is
// what the program and the trainee expect of it.
#include "platform/MediaFiles.h"
#include "search/ItemTables.h"
#include "shell/Startup.h"
#include "widgets/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTextDocument>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cmath>

using namespace gf;

namespace {

QString installDir()
{
    return qEnvironmentVariable("GF_INSTALL_DIR");
}

QString sub(const QString& folder)
{
    return installDir() + u'/' + folder + u'/';
}

struct Wav
{
    QString error;
    int rate = 0;
    int channels = 0;
    int bits = 0;
    QVector<double> samples; // first channel, -1..1
    double seconds() const { return rate ? double(samples.size()) / rate : 0.0; }
};

// A deliberately small reader: the program's player must accept these files, so they
// are held to the plainest form: RIFF/WAVE, PCM, 16 bit.
Wav readWav(const QString& path)
{
    Wav w;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        w.error = f.errorString();
        return w;
    }
    const QByteArray d = f.readAll();
    if (d.size() < 12 || !d.startsWith("RIFF") || d.mid(8, 4) != "WAVE") {
        w.error = QStringLiteral("no RIFF/WAVE header");
        return w;
    }
    qsizetype pos = 12;
    bool haveFmt = false;
    while (pos + 8 <= d.size()) {
        const QByteArray id = d.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(d.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (body + qsizetype(size) > d.size()) {
            w.error = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return w;
        }
        if (id == "fmt ") {
            const auto* p = d.constData() + body;
            if (qFromLittleEndian<quint16>(p) != 1) {
                w.error = QStringLiteral("not PCM");
                return w;
            }
            w.channels = qFromLittleEndian<quint16>(p + 2);
            w.rate = int(qFromLittleEndian<quint32>(p + 4));
            w.bits = qFromLittleEndian<quint16>(p + 14);
            haveFmt = true;
        } else if (id == "data") {
            if (!haveFmt || w.bits != 16 || w.channels < 1) {
                w.error = QStringLiteral("data before fmt, or not 16 bit");
                return w;
            }
            const int frame = 2 * w.channels;
            for (qsizetype i = body; i + frame <= body + qsizetype(size); i += frame)
                w.samples.append(qFromLittleEndian<qint16>(d.constData() + i) / 32768.0);
            return w;
        }
        pos = body + size + (size & 1);
    }
    w.error = QStringLiteral("no data chunk");
    return w;
}

// Level of the audible part in dBFS: RMS over the 20 ms frames that are not near-silent.
double loudness(const QVector<double>& x, int rate)
{
    const int n = rate / 50;
    QVector<double> frames;
    for (int i = 0; i + n <= x.size(); i += n) {
        double s = 0;
        for (int k = 0; k < n; ++k)
            s += x[i + k] * x[i + k];
        frames.append(std::sqrt(s / n));
    }
    if (frames.isEmpty())
        return -200;
    const double top = *std::max_element(frames.begin(), frames.end());
    double s = 0;
    int count = 0;
    for (double f : frames)
        if (f > top * 0.1) {
            s += f * f;
            ++count;
        }
    return 20 * std::log10(std::sqrt(s / count) + 1e-12);
}

struct Bmp
{
    QString error;
    int width = 0;
    int height = 0;
    int bits = 0;
};

Bmp readBmpHeader(const QString& path)
{
    Bmp b;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        b.error = f.errorString();
        return b;
    }
    const QByteArray d = f.read(54);
    if (d.size() < 54 || !d.startsWith("BM")) {
        b.error = QStringLiteral("no BMP header");
        return b;
    }
    b.width = qFromLittleEndian<qint32>(d.constData() + 18);
    b.height = std::abs(qFromLittleEndian<qint32>(d.constData() + 22));
    b.bits = qFromLittleEndian<quint16>(d.constData() + 28);
    if (qFromLittleEndian<quint32>(d.constData() + 30) != 0)
        b.error = QStringLiteral("compressed");
    return b;
}

QImage loadPicture(const QString& name)
{
    return QImage(MediaPath(sub("BMP"), name)).convertToFormat(QImage::Format_RGB32);
}

// Mean absolute difference of two pictures, scaled to a common size, 0..255.
double difference(const QImage& a, const QImage& b)
{
    const QImage x = a.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int r = 0; r < 64; ++r)
        for (int c = 0; c < 64; ++c) {
            const QRgb p = x.pixel(c, r);
            const QRgb q = y.pixel(c, r);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (64.0 * 64 * 3);
}

ItemTableFile readTables(const QString& name)
{
    ItemTableFile file;
    QFile f(installDir() + u'/' + name);
    if (!f.open(QIODevice::ReadOnly))
        qFatal("%s cannot be opened: %s", qPrintable(name), qPrintable(f.errorString()));
    QString error;
    if (!ReadItemTables(f, name, file, &error))
        qFatal("%s cannot be read: %s", qPrintable(name), qPrintable(error));
    return file;
}

} // namespace

class InstallationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(!installDir().isEmpty(), "GF_INSTALL_DIR is not set");
        QVERIFY2(QDir(installDir()).exists(), qPrintable(installDir()));
    }

    // Each inventory name must resolve the way the program resolves it, and no
    // stray file may hide in the folders (it would only bloat the installation).
    void inventoryIsCompleteAndNothingElse()
    {
        const struct
        {
            QString folder;
            QStringList names;
        } lists[] = {{QStringLiteral("BMP"), InventoryPictures()},
                     {QStringLiteral("WAV"), InventorySounds()},
                     {QStringLiteral("HLP"), InventoryHelpPages() + QStringList{"stat.rtf"}}};
        int total = 0;
        for (const auto& list : lists) {
            QSet<QString> expected;
            for (const QString& name : list.names) {
                QVERIFY2(MediaFileExists(sub(list.folder), name),
                         qPrintable(list.folder + u'/' + name + QStringLiteral(" fehlt")));
                expected.insert(name.toLower());
            }
            const QStringList present = QDir(sub(list.folder)).entryList(QDir::Files);
            for (const QString& file : present)
                QVERIFY2(expected.contains(file.toLower()),
                         qPrintable(list.folder + u'/' + file + QStringLiteral(" is not in the inventory")));
            total += list.names.size();
        }
        QCOMPARE(total, 164 + 1);
    }

    void picturesAreUncompressed24BitBmps()
    {
        for (const QString& name : InventoryPictures()) {
            const QString path = MediaPath(sub("BMP"), name);
            const Bmp header = readBmpHeader(path);
            QVERIFY2(header.error.isEmpty(), qPrintable(name + QStringLiteral(": ") + header.error));
            QVERIFY2(header.bits == 24, qPrintable(name + QStringLiteral(": not 24 bit")));
            const QImage image(path);
            QVERIFY2(!image.isNull(), qPrintable(name + QStringLiteral(": does not load")));
            QCOMPARE(image.size(), QSize(header.width, header.height));
        }
    }

    // Sizes where a window places the picture 1:1 or where stretching it far would blur.
    void picturesHaveTheirSizes()
    {
        const auto sizeOf = [](const QString& name) { return loadPicture(name).size(); };
        for (const char* screen : {"tueren2.bmp", "Wolken.bmp", "beach.bmp", "Titel.bmp",
                                   "Credits.bmp", "Hintergrund.bmp", "Sterne.bmp"})
            QCOMPARE(sizeOf(QString::fromLatin1(screen)), QSize(800, 600));
        for (const char* fax : {"FAX.BMP", "FAX1.BMP", "FAX2.BMP"})
            QCOMPARE(sizeOf(QString::fromLatin1(fax)), QSize(128, 128));
        for (const char* marker : {"richtig.bmp", "falsch.bmp", "ok.bmp"})
            QCOMPARE(sizeOf(QString::fromLatin1(marker)), QSize(30, 30));
        for (const char* event : {"Auto", "Huhn", "Harfe", "Hund", "Kuh", "Orgel", "Trommel",
                                  "Trompete", "Geige", "Vogel"}) {
            const QSize s = sizeOf(QString::fromLatin1(event) + QStringLiteral(".bmp"));
            QVERIFY2(s.width() >= 250 && s.height() >= 250, event);
        }
        // The title and closing screens show the logo unscaled; it must leave room.
        const QSize logo = sizeOf(QStringLiteral("logo.bmp"));
        QVERIFY(logo.width() <= 600 && logo.height() <= 600 / 8 * 2);
    }

    // The trainee tells the four pictures of a group apart: no two may look alike.
    void groupPicturesDiffer()
    {
        for (const char* group : {"Abdruck", "Hemd", "Hut", "KOFFER", "LKW", "Mann",
                                  "Schluessel", "Schuh", "S", "TASCHE", "Tuch"}) {
            QList<QImage> images;
            for (int i = 1; i <= 4; ++i) {
                const QImage image =
                    loadPicture(QStringLiteral("%1_%2.bmp").arg(QLatin1String(group)).arg(i));
                QVERIFY(image.width() >= 105 && image.height() >= 105);
                images.append(image);
            }
            for (int i = 0; i < 4; ++i)
                for (int j = i + 1; j < 4; ++j)
                    QVERIFY2(difference(images[i], images[j]) > 8.0,
                             qPrintable(QStringLiteral("%1_%2 and _%3 look alike")
                                            .arg(QLatin1String(group))
                                            .arg(i + 1)
                                            .arg(j + 1)));
        }
    }

    void soundsArePcmWithinTheirDurations()
    {
        int rate = 0;
        QVector<double> speech, effects;
        for (const QString& name : InventorySounds()) {
            const Wav w = readWav(MediaPath(sub("WAV"), name));
            QVERIFY2(w.error.isEmpty(), qPrintable(name + QStringLiteral(": ") + w.error));
            if (rate == 0)
                rate = w.rate;
            QVERIFY2(w.rate == rate, qPrintable(name + QStringLiteral(": another sample rate")));
            const QString base = name.section(u'.', 0, 0).toUpper();
            const double s = w.seconds();
            double low = 0.05, high = 5.0;
            bool spoken = false;
            if (base.size() == 1 && base[0].isDigit()) {
                low = 0.25, high = 1.0, spoken = true;
            } else if (base.startsWith(u'J') && base != QStringLiteral("JINGLE")) {
                low = 0.2, high = 3.0, spoken = true;
            } else if (base.startsWith(u'N')) {
                low = 0.2, high = 3.0, spoken = true;
            } else if (QStringList{"HONK", "HAHN", "HARFE", "HUND", "KUH", "ORGEL", "DRUMROL3",
                                   "TROMPETE", "GEIGE", "VOGEL"}
                           .contains(base)) {
                low = 0.5, high = 3.1;
            }
            QVERIFY2(s >= low && s <= high,
                     qPrintable(QStringLiteral("%1: %2 s, expected %3..%4")
                                    .arg(name)
                                    .arg(s)
                                    .arg(low)
                                    .arg(high)));
            const double level = loudness(w.samples, w.rate);
            QVERIFY2(level > -40, qPrintable(name + QStringLiteral(": almost silent")));
            (spoken ? speech : effects).append(level);
        }
        // Matched loudness: speech and effects each stay close to their median, and
        // the two medians close to each other.
        auto median = [](QVector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        const double ms = median(speech), me = median(effects);
        for (double l : speech)
            QVERIFY2(std::abs(l - ms) < 4.0, qPrintable(QString::number(l)));
        for (double l : effects)
            QVERIFY2(std::abs(l - me) < 7.0, qPrintable(QString::number(l)));
        QVERIFY(std::abs(ms - me) < 4.0);
    }

    // The pages must read without error in the program's own reader and say something.
    void helpPagesReadCleanly()
    {
        QStringList pages = InventoryHelpPages();
        pages << QStringLiteral("stat.rtf");
        int umlauts = 0;
        for (const QString& name : pages) {
            QTextDocument doc;
            RtfReader reader(&doc);
            QVERIFY2(reader.readFile(MediaPath(sub("HLP"), name)),
                     qPrintable(name + QStringLiteral(": ") + reader.errorString()));
            const QString text = doc.toPlainText();
            QVERIFY2(text.size() > 250, qPrintable(name + QStringLiteral(": too short")));
            QVERIFY2(!text.contains(u'\\') && !text.contains(u'{'),
                     qPrintable(name + QStringLiteral(": markup leaked into the text")));
            QVERIFY2(!text.contains(QChar::ReplacementCharacter),
                     qPrintable(name + QStringLiteral(": undecodable characters")));
            umlauts += text.count(u'ä') + text.count(u'ö') + text.count(u'ü') + text.count(u'ß');
        }
        // German pages read in the right code page show their umlauts.
        QVERIFY(umlauts > 100);
    }

    void wordTablesSuitTheWordSearch()
    {
        const ItemTableFile file = readTables(QStringLiteral("std.cfg"));
        QVERIFY(file.Tables.size() >= 6);
        // One word must be readable in the time, yet not linger.
        QVERIFY(file.DisplayTime >= 1000 && file.DisplayTime <= 3000);
        for (const auto& t : file.Tables) {
            QCOMPARE(t->RowCount, quint16(6));
            QCOMPARE(t->ColCount, quint16(5));
            QVERIFY2(t->Lines.size() >= 3, qPrintable(t->Name + QStringLiteral(": no story")));
            QSet<QString> words;
            for (int c = 2; c <= 5; ++c) {
                QVERIFY(!t->Cells[1][c].Text.isEmpty());
                QVERIFY(!t->Cells[2][c].Text.isEmpty());
                for (int r = 3; r <= 6; ++r) {
                    const QString& w = t->Cells[r][c].Text;
                    QVERIFY2(!w.isEmpty() && !words.contains(w),
                             qPrintable(t->Name + QStringLiteral(": ") + w + QStringLiteral(" twice or empty")));
                    words.insert(w);
                }
            }
        }
    }

    void pictureTablesNameInventoryPictures()
    {
        const ItemTableFile file = readTables(QStringLiteral("bmp.cfg"));
        QVERIFY(file.Tables.size() >= 4);
        for (const auto& t : file.Tables) {
            QCOMPARE(t->RowCount, quint16(6));
            QCOMPARE(t->ColCount, quint16(5));
            QVERIFY2(t->Lines.size() >= 3, qPrintable(t->Name + QStringLiteral(": no story")));
            QSet<QString> items;
            for (int c = 2; c <= 5; ++c) {
                QVERIFY(!t->Cells[1][c].Text.isEmpty());
                QVERIFY(!t->Cells[2][c].Text.isEmpty());
                QString group;
                for (int r = 3; r <= 6; ++r) {
                    const QString& item = t->Cells[r][c].Text;
                    QVERIFY2(!items.contains(item), qPrintable(item + QStringLiteral(" twice")));
                    items.insert(item);
                    QVERIFY2(MediaFileExists(sub("BMP"), item + QStringLiteral(".bmp")),
                             qPrintable(t->Name + QStringLiteral(": no picture ") + item));
                    // a column holds one group: same base name before the variant
                    const QString base = item.section(u'_', 0, 0).toLower();
                    if (group.isEmpty())
                        group = base;
                    QVERIFY2(base == group, qPrintable(t->Name + QStringLiteral(": ") + item + QStringLiteral(" mixed in")));
                }
            }
        }
    }
};

QTEST_MAIN(InstallationTest)
#include "tst_Installation.moc"
