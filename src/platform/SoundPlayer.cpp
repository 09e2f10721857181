#include "platform/SoundPlayer.h"

#include "platform/MediaFiles.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMediaDevices>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace gf {

using namespace std::chrono_literals;

namespace {

quint32 le32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}
quint16 le16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

// The base of both players: the file checks of open, the error state.
class BasicSoundPlayer : public SoundPlayer
{
public:
    void setFileName(const QString& path) override { m_fileName = path; }
    QString fileName() const override { return m_fileName; }

    bool open() override
    {
        close();
        clearError();
        if (m_fileName.isEmpty())
            return fail(seNoFile, QStringLiteral("keine Sounddatei angegeben wurde"));
        const QString path = resolveMediaFile(QString(), m_fileName);
        const QString shown = QFileInfo(m_fileName).fileName();
        if (path.isEmpty())
            return fail(seFileNotFound,
                        QStringLiteral("die Sounddatei „%1“ nicht gefunden wurde").arg(shown));
        const std::optional<WavInfo> info = readWavInfo(path);
        if (!info)
            return fail(
                seInvalidFile,
                QStringLiteral("die Sounddatei „%1“ nicht abgespielt werden kann").arg(shown));
        m_path = path;
        m_info = *info;
        m_open = true;
        if (!openOutput()) {
            m_open = false;
            return false;
        }
        return true;
    }

    bool play(bool wait) override
    {
        clearError();
        if (!m_open)
            return fail(seNotOpen, QStringLiteral("keine Sounddatei geöffnet wurde"));
        return start(wait);
    }

    void close() override
    {
        stop();
        closeOutput();
        m_open = false;
    }

    int errorCode() const override { return m_errorCode; }
    QString errorText() const override { return m_errorText; }

protected:
    virtual bool openOutput() { return true; }
    virtual void closeOutput() {}
    virtual bool start(bool wait) = 0;

    bool fail(int code, const QString& text)
    {
        m_errorCode = code;
        m_errorText = text;
        return false;
    }
    void clearError()
    {
        m_errorCode = seNone;
        m_errorText.clear();
    }

    QString m_path; // the resolved file of the last successful open
    WavInfo m_info;

private:
    QString m_fileName;
    bool m_open = false;
    int m_errorCode = seNone;
    QString m_errorText;
};

class SilentSoundPlayer final : public BasicSoundPlayer
{
public:
    ~SilentSoundPlayer() override = default;
    void stop() override {}
    bool isPlaying() const override { return false; }

protected:
    bool start(bool) override { return true; }
};

class QtSoundPlayer final : public BasicSoundPlayer
{
public:
    ~QtSoundPlayer() override
    {
        if (m_wait)
            m_wait->quit();
        qDeleteAll(m_effects);
    }

    void stop() override
    {
        if (m_current)
            m_current->stop();
        if (m_wait)
            m_wait->quit();
    }

    bool isPlaying() const override { return m_current && m_current->isPlaying(); }

    void preload(const QStringList& paths) override
    {
        if (!audioOutputAvailable())
            return; // nothing could play them; spare the warnings
        for (const QString& name : paths) {
            const QString path = resolveMediaFile(QString(), name);
            if (!path.isEmpty() && readWavInfo(path))
                effectFor(path);
        }
    }

protected:
    bool openOutput() override
    {
        m_current = effectFor(m_path);
        if (m_current->status() == QSoundEffect::Error) {
            m_current = nullptr;
            return fail(seInvalidFile, QStringLiteral("die Sounddatei „%1“ nicht abgespielt "
                                                      "werden kann")
                                           .arg(QFileInfo(m_path).fileName()));
        }
        return true;
    }

    void closeOutput() override { m_current = nullptr; }

    bool start(bool wait) override
    {
        // Without an output the effect would claim to play forever.
        if (!audioOutputAvailable())
            return fail(seNoDevice, QStringLiteral("kein Audioausgabegerät gefunden wurde"));
        QPointer<QSoundEffect> effect = m_current;
        effect->stop();
        effect->play();
        if (effect->status() == QSoundEffect::Error)
            return failPlaying();
        if (!wait)
            return true;

        // Events keep flowing while the sound plays; the timeout makes sure an output
        // that never reports the end cannot hold the program.
        QEventLoop loop;
        QEventLoop* outer = m_wait;
        m_wait = &loop;
        QObject::connect(effect, &QSoundEffect::playingChanged, &loop, [&] {
            if (!effect->isPlaying())
                loop.quit();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, &loop, [&] {
            if (effect->status() == QSoundEffect::Error)
                loop.quit();
        });
        QTimer::singleShot(m_info.duration + kWaitMargin, Qt::PreciseTimer, &loop,
                           [&] { loop.quit(); });
        if (effect->isPlaying())
            loop.exec();
        m_wait = outer;

        if (!effect)
            return true;
        if (effect->status() == QSoundEffect::Error)
            return failPlaying();
        if (effect->isPlaying())
            effect->stop(); // timed out
        return true;
    }

private:
    // A fresh output stream can take well over a second to start.
    static constexpr std::chrono::milliseconds kWaitMargin = 3000ms;

    bool failPlaying()
    {
        return fail(sePlayFailed, QStringLiteral("die Audioausgabe einen Fehler gemeldet hat"));
    }

    QSoundEffect* effectFor(const QString& path)
    {
        QSoundEffect*& effect = m_effects[path];
        if (!effect) {
            effect = new QSoundEffect;
            effect->setSource(QUrl::fromLocalFile(path));
        }
        return effect;
    }

    QHash<QString, QSoundEffect*> m_effects; // loaded once, kept for the whole run
    QSoundEffect* m_current = nullptr;
    QEventLoop* m_wait = nullptr;
};

} // namespace

std::optional<WavInfo> readWavInfo(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const qint64 fileSize = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE")
        return std::nullopt;

    WavInfo info;
    bool haveFormat = false;
    bool haveData = false;
    qint64 pos = 12;
    while (pos + 8 <= fileSize && !(haveFormat && haveData)) {
        file.seek(pos);
        const QByteArray header = file.read(8);
        if (header.size() < 8)
            break;
        const QByteArray id = header.left(4);
        const qint64 size = le32(header.constData() + 4);
        const qint64 body = pos + 8;
        if (id == "fmt ") {
            if (size < 16)
                return std::nullopt;
            const QByteArray fmt = file.read(qMin<qint64>(size, 40));
            if (fmt.size() < 16)
                return std::nullopt;
            const char* p = fmt.constData();
            info.formatTag = le16(p);
            info.channels = le16(p + 2);
            info.sampleRate = static_cast<int>(qMin<quint32>(le32(p + 4), 1'000'000));
            info.bitsPerSample = le16(p + 14);
            if (info.formatTag == 0xFFFE && fmt.size() >= 26)
                info.formatTag = le16(p + 24); // the sub-format's tag
            haveFormat = true;
        } else if (id == "data") {
            info.dataBytes = qMin(size, fileSize - body); // cut files are common
            haveData = true;
        }
        pos = body + size + (size & 1); // chunks are padded to even sizes
    }
    if (!haveFormat || !haveData)
        return std::nullopt;

    const int tag = info.formatTag;
    const bool pcm = tag == 1 && (info.bitsPerSample == 8 || info.bitsPerSample == 16 ||
                                  info.bitsPerSample == 32);
    const bool floating = tag == 3 && info.bitsPerSample == 32;
    if (!(pcm || floating) || info.channels < 1 || info.channels > 8 || info.sampleRate < 1)
        return std::nullopt;
    info.bytesPerSecond = info.sampleRate * info.channels * (info.bitsPerSample / 8);
    info.duration = std::chrono::milliseconds(info.dataBytes * 1000 / info.bytesPerSecond);
    return info;
}

bool SoundPlayer::playFile(const QString& path)
{
    close();
    setFileName(path);
    return open() && play(false);
}

bool audioOutputAvailable()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

std::unique_ptr<SoundPlayer> createSoundPlayer(bool silent)
{
    if (silent)
        return std::make_unique<SilentSoundPlayer>();
    return std::make_unique<QtSoundPlayer>();
}

} // namespace gf
