#include "platform/SoundPlayer.h"
#include "support/DataSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;
using namespace std::chrono_literals;
using gf::test::Bytes;

namespace gf::test {

namespace {

QByteArray chunk(const char* id, const QByteArray& body, qint64 claimedSize = -1)
{
    QByteArray c = QByteArray(id, 4) +
                   Bytes().i32(qint32(claimedSize < 0 ? body.size() : claimedSize)).b + body;
    if (body.size() % 2)
        c += '\0';
    return c;
}
QByteArray fmtBody(quint16 tag, quint16 channels, quint32 rate, quint16 bits)
{
    const quint16 block = channels * bits / 8;
    return Bytes()
        .u16(tag)
        .u16(channels)
        .i32(qint32(rate))
        .i32(qint32(rate * block))
        .u16(block)
        .u16(bits)
        .b;
}
QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + Bytes().i32(qint32(4 + chunks.size())).b + "WAVE" + chunks;
}
// Silence, so that a machine with a sound card stays quiet.
QByteArray pcmWav(int ms, quint32 rate = 8000)
{
    return riff(chunk("fmt ", fmtBody(1, 1, rate, 16)) +
                chunk("data", QByteArray(int(rate * 2 * ms / 1000), '\0')));
}

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return path;
}

} // namespace

class TstSound : public QObject
{
    Q_OBJECT

private slots:
    void wavHeaders_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("dataBytes"); // 0: refused
        QTest::addColumn<qint64>("durationMs");

        const QByteArray fmt = chunk("fmt ", fmtBody(1, 2, 22050, 16));
        const QByteArray second(22050 * 4, '\0');
        QTest::newRow("odd chunk before the format is padded")
            << riff(chunk("LIST", "abc") + fmt + chunk("data", second)) << qint64(88200)
            << qint64(1000);
        QTest::newRow("data claims more than the file holds")
            << riff(fmt + chunk("data", second.left(44100), 10'000'000)) << qint64(44100)
            << qint64(500);
        const QByteArray extensible = fmtBody(0xFFFE, 1, 8000, 16) +
                                      Bytes().u16(22).u16(16).i32(4).u16(1).b + QByteArray(14, 'g');
        QTest::newRow("extensible PCM")
            << riff(chunk("fmt ", extensible) + chunk("data", QByteArray(8000, 0))) << qint64(8000)
            << qint64(500);
        QTest::newRow("format cut short")
            << riff(chunk("fmt ", fmtBody(1, 1, 8000, 16).left(10)) + chunk("data", "xx"))
            << qint64(0) << qint64(0);
        QTest::newRow("compressed")
            << riff(chunk("fmt ", fmtBody(2, 1, 8000, 4)) + chunk("data", "xxxx")) << qint64(0)
            << qint64(0);
        QTest::newRow("chunk size beyond the file")
            << riff(chunk("junk", "ab", 0xFFFFFFF0u) + fmt + chunk("data", "xxxx")) << qint64(0)
            << qint64(0);
    }
    void wavHeaders()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, dataBytes);
        QFETCH(qint64, durationMs);
        QTemporaryDir dir;
        const std::optional<WavInfo> info = readWavInfo(write(dir, "t.wav", bytes));
        QCOMPARE(info.has_value(), dataBytes > 0);
        if (info) {
            QCOMPARE(info->dataBytes, dataBytes);
            QCOMPARE(qint64(info->duration.count()), durationMs);
        }
    }

    void openChecksTheFile_data()
    {
        QTest::addColumn<bool>("silent");
        QTest::newRow("silent") << true;
        QTest::newRow("multimedia") << false;
    }
    void openChecksTheFile()
    {
        QFETCH(bool, silent);
        QTemporaryDir dir;
        write(dir, "JINGLE.WAV", pcmWav(100));
        write(dir, "broken.wav", "RIFF but nothing else");
        const std::unique_ptr<SoundPlayer> player = createSoundPlayer(silent);

        QVERIFY(!player->open());
        QCOMPARE(player->errorCode(), int(seNoFile));

        player->setFileName(dir.filePath("Jingle.wav")); // other case than on disk
        QVERIFY(player->open());
        QCOMPARE(player->errorCode(), int(seNone));

        // A failed open must not leave the previous file playable.
        player->setFileName(dir.filePath("N7.WAV"));
        QVERIFY(!player->open());
        QCOMPARE(player->errorCode(), int(seFileNotFound));
        QVERIFY(player->errorText().contains("N7.WAV"));
        QVERIFY(!player->play(true));
        QCOMPARE(player->errorCode(), int(seNotOpen));

        player->setFileName(dir.filePath("broken.wav"));
        QVERIFY(!player->open());
        QCOMPARE(player->errorCode(), int(seInvalidFile));
    }

    // CI has no audio output: playing must fail with a reason and not block; where a
    // sound card exists, waiting must end with the (silent) sound. The silent player
    // never waits.
    void playingEndsOrFailsInTime_data() { openChecksTheFile_data(); }
    void playingEndsOrFailsInTime()
    {
        QFETCH(bool, silent);
        QTemporaryDir dir;
        const std::unique_ptr<SoundPlayer> player = createSoundPlayer(silent);
        player->preload({dir.filePath("missing.wav")});
        player->setFileName(write(dir, "1.wav", pcmWav(2000)));
        QVERIFY(player->open());

        QElapsedTimer clock;
        clock.start();
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(20);
        const bool played = player->play(true);
        const qint64 elapsed = clock.elapsed();

        if (silent) {
            QVERIFY(played);
            QVERIFY(elapsed < 1000);
        } else if (!audioOutputAvailable()) {
            QVERIFY(!played);
            QCOMPARE(player->errorCode(), int(seNoDevice));
            QVERIFY(!player->errorText().isEmpty());
            QVERIFY(elapsed < 1000);
            QVERIFY(!player->play(false));
        } else {
            QVERIFY2(played, qPrintable(player->errorText()));
            QVERIFY(elapsed < 2000 + 3000 + 1000);
            QVERIFY2(ticks > 0, "events must be processed while waiting");
        }
        QVERIFY(!player->isPlaying());
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstSound)
#include "tst_sound.moc"
