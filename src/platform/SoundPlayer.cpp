#include "platform/SoundPlayer.h"

#include "platform/MediaFiles.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMediaDevices>
#include <QTimer>
#include <QtEndian>

#include <cstring>
#include <limits>

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

// Samples ready to play, decoded once per file.
struct Pcm
{
    QAudioFormat format;
    QByteArray bytes;
};

// One output stream kept running between sounds and fed a little ahead of time on a
// fine timer. Every byte of the stream has its moment on the clock, so a sound placed at
// the byte of "now plus the lead" is heard a constant time after it was asked for,
// however late the timer or the output's requests come; a fresh stream per sound (or an
// output that pulls when it likes) starts it anywhere from tens to hundreds of
// milliseconds later, and some outputs fall silent after a few such starts.
class QtSoundPlayer final : public BasicSoundPlayer
{
public:
    QtSoundPlayer()
    {
        m_feedTimer.setTimerType(Qt::PreciseTimer);
        m_feedTimer.setInterval(kTick);
        QObject::connect(&m_feedTimer, &QTimer::timeout, [this] { feed(); });
    }
    ~QtSoundPlayer() override
    {
        if (m_wait)
            m_wait->quit();
        closeStream();
    }

    void stop() override
    {
        m_sound = nullptr;
        m_endsAt = Clock::now();
        if (m_wait)
            m_wait->quit();
    }

    bool isPlaying() const override { return m_io && Clock::now() < m_endsAt; }

    // Also opens the output: a fresh stream takes a few seconds to run steadily.
    void preload(const QStringList& paths) override
    {
        const Pcm* first = nullptr;
        for (const QString& name : paths) {
            const QString path = resolveMediaFile(QString(), name);
            const Pcm* pcm = path.isEmpty() ? nullptr : pcmFor(path);
            first = first ? first : pcm;
        }
        if (first && audioOutputAvailable() && streamFor(first->format))
            m_lastSound = Clock::now();
    }

protected:
    bool openOutput() override
    {
        m_current = pcmFor(m_path);
        if (!m_current)
            return fail(seInvalidFile, QStringLiteral("die Sounddatei „%1“ nicht abgespielt "
                                                      "werden kann")
                                           .arg(QFileInfo(m_path).fileName()));
        return true;
    }

    void closeOutput() override { m_current = nullptr; }

    bool start(bool wait) override
    {
        if (!audioOutputAvailable())
            return fail(seNoDevice, QStringLiteral("kein Audioausgabegerät gefunden wurde"));
        if (!streamFor(m_current->format))
            return failPlaying();
        const Clock::time_point now = Clock::now();
        const qint64 frame = m_format.bytesPerFrame();
        m_sound = &m_current->bytes;
        m_soundStart = std::max(m_written, alignDown(bytesAt(now + kLead), frame));
        m_endsAt = timeOf(m_soundStart + m_sound->size());
        m_lastSound = now;
        feed();
        if (!wait)
            return true;

        // Events keep flowing while the sound plays; the timeout makes sure an output
        // that never takes the samples cannot hold the program.
        QEventLoop loop;
        QEventLoop* outer = m_wait;
        m_wait = &loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!isPlaying())
                loop.quit();
        });
        poll.start(10);
        QTimer::singleShot(m_info.duration + kWaitMargin, Qt::PreciseTimer, &loop,
                           [&] { loop.quit(); });
        loop.exec();
        m_wait = outer;
        if (!m_io)
            return failPlaying();
        if (isPlaying())
            stop(); // timed out
        return true;
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kWaitMargin = 3000ms;
    // How far ahead of the clock the stream is fed: more than a late tick on a busy
    // computer, little enough not to be noticed.
    static constexpr std::chrono::milliseconds kLead = 60ms;
    static constexpr std::chrono::milliseconds kTick = 5ms;
    // A stream silent this long is closed; the next sound opens it again.
    static constexpr std::chrono::minutes kIdle{5};
    static constexpr qint64 kRecount = qint64(1) << 30;

    bool failPlaying()
    {
        return fail(sePlayFailed, QStringLiteral("die Audioausgabe einen Fehler gemeldet hat"));
    }

    static qint64 alignDown(qint64 bytes, qint64 frame) { return bytes - bytes % frame; }

    // The stream byte due at `t`, and the moment of stream byte `bytes`.
    qint64 bytesAt(Clock::time_point t) const
    {
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(t - m_anchor);
        return m_format.bytesForDuration(us.count());
    }
    Clock::time_point timeOf(qint64 bytes) const
    {
        return m_anchor + std::chrono::microseconds(m_format.durationForBytes(qint32(
                              std::min<qint64>(bytes, std::numeric_limits<qint32>::max()))));
    }

    // Writes what falls due up to the lead: the sound where it was placed, silence around it.
    void feed()
    {
        if (!m_io)
            return;
        const Clock::time_point now = Clock::now();
        if (m_sink->error() == QAudio::IOError || m_sink->error() == QAudio::OpenError) {
            closeStream();
            return;
        }
        if (!m_sound && now - m_lastSound > kIdle) {
            closeStream();
            return;
        }
        const qint64 frame = m_format.bytesPerFrame();
        // The format converts durations in 32-bit byte counts: after an hour or more of
        // stream, count from a later byte 0 before they overflow and the output falls silent.
        if (m_written > kRecount) {
            const qint64 k = alignDown(m_written / 2, frame);
            m_anchor = timeOf(k);
            m_written -= k;
            m_soundStart -= k;
        }
        const qint64 target = alignDown(bytesAt(now + kLead), frame);
        qint64 want = std::min<qint64>(target - m_written, alignDown(m_sink->bytesFree(), frame));
        while (want > 0) {
            qint64 n = want;
            const char* from = nullptr;
            if (m_sound && m_written >= m_soundStart) {
                const qint64 at = m_written - m_soundStart;
                n = std::min<qint64>(n, m_sound->size() - at);
                from = m_sound->constData() + at;
            } else if (m_sound) {
                n = std::min<qint64>(n, m_soundStart - m_written);
            }
            if (!from) {
                if (m_silence.size() < n)
                    m_silence = QByteArray(n, m_silenceByte);
                from = m_silence.constData();
            }
            const qint64 done = n > 0 ? m_io->write(from, n) : 0;
            if (done <= 0)
                break;
            m_written += done;
            want -= done;
            if (m_sound && m_written >= m_soundStart + m_sound->size())
                m_sound = nullptr;
        }
        // The output's clock is not quite the computer's: what it holds tells which way
        // it drifts, and the stream's clock follows slowly (the reading is coarse).
        const qint64 held = m_sink->bufferSize() - m_sink->bytesFree();
        const qint64 ahead = m_written - bytesAt(now);
        // A fresh stream settles fast, a settled one only follows the drift.
        const bool settling = now - m_opened < 2s;
        m_drift += (settling ? 0.05 : 0.01) * (double(held - ahead) - m_drift);
        m_anchor += std::chrono::microseconds(qint64((settling ? 0.1 : 0.02) * m_drift * 1e6 /
                                                     m_format.bytesForDuration(1'000'000)));
        // The output took less than the clock asked for (it started late or ran dry):
        // the clock of the stream starts anew from what it holds.
        if (target - m_written > m_format.bytesForDuration(20'000)) {
            const auto behind = timeOf(target) - timeOf(m_written);
            m_anchor += behind;
            if (m_sound)
                m_endsAt = timeOf(std::max(m_soundStart, m_written) + m_sound->size());
        }
    }

    bool streamFor(const QAudioFormat& format)
    {
        if (m_io && m_format == format)
            return true;
        closeStream();
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || !device.isFormatSupported(format))
            return false;
        m_format = format;
        m_silenceByte = format.sampleFormat() == QAudioFormat::UInt8 ? char(0x80) : char(0);
        m_silence.clear();
        m_sink = std::make_unique<QAudioSink>(device, format);
        m_sink->setBufferSize(format.bytesForDuration(
            std::chrono::duration_cast<std::chrono::microseconds>(2 * kLead).count()));
        m_io = m_sink->start();
        if (!m_io) {
            m_sink.reset();
            return false;
        }
        m_written = 0;
        m_drift = 0;
        m_anchor = m_opened = Clock::now();
        m_feedTimer.start();
        return true;
    }

    void closeStream()
    {
        m_feedTimer.stop();
        m_sound = nullptr;
        m_io = nullptr;
        if (m_sink)
            m_sink->stop();
        m_sink.reset();
    }

    const Pcm* pcmFor(const QString& path)
    {
        auto it = m_pcm.find(path);
        if (it == m_pcm.end()) {
            std::optional<Pcm> pcm = decode(path);
            if (!pcm)
                return nullptr;
            it = m_pcm.insert(path, *pcm);
        }
        return &*it;
    }

    static std::optional<Pcm> decode(const QString& path)
    {
        const std::optional<WavInfo> info = readWavInfo(path);
        QFile file(path);
        if (!info || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        Pcm pcm;
        pcm.format.setSampleRate(info->sampleRate);
        pcm.format.setChannelCount(info->channels);
        switch (info->formatTag == 3 ? 0 : info->bitsPerSample) {
        case 0:
            pcm.format.setSampleFormat(QAudioFormat::Float);
            break;
        case 8:
            pcm.format.setSampleFormat(QAudioFormat::UInt8);
            break;
        case 16:
            pcm.format.setSampleFormat(QAudioFormat::Int16);
            break;
        default:
            pcm.format.setSampleFormat(QAudioFormat::Int32);
            break;
        }
        file.seek(info->dataOffset);
        pcm.bytes = file.read(info->dataBytes);
        pcm.bytes.truncate(pcm.bytes.size() - pcm.bytes.size() % pcm.format.bytesPerFrame());
        return pcm;
    }

    QHash<QString, Pcm> m_pcm; // decoded once, kept for the whole run
    const Pcm* m_current = nullptr;

    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io = nullptr;
    QAudioFormat m_format;
    QTimer m_feedTimer;
    Clock::time_point m_anchor{}; // when stream byte 0 was due
    Clock::time_point m_opened{};
    qint64 m_written = 0;
    double m_drift = 0; // bytes the output holds beyond what the clock says, smoothed
    char m_silenceByte = 0;
    QByteArray m_silence;

    const QByteArray* m_sound = nullptr; // still to be written
    qint64 m_soundStart = 0;             // its first byte in the stream
    Clock::time_point m_endsAt{};
    Clock::time_point m_lastSound{};
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
            info.dataOffset = body;
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
