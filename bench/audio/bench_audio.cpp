// Onsets where the sound is heard: a sound server with a null sink, started here, plays
// what the program's own player sends it; a recorder on the sink's monitor stamps every
// onset (CLOCK_MONOTONIC, the clock of the exercises' schedules). Prints
//   player: heard H of 15 plays, sound path latency L ms
//   telephone-digit (audio): onset error ms: mean M sd S max X (n N)
//   memo-event (audio): onset error ms: mean M sd S max X (n N)
//   av-offset: ms: mean M sd S max X (n N)              (telephone mode 3, memo mode 3)
// The constant latency of the sound path, measured by the first plays, is taken off.

#include "Measures.h"
#include "Servers.h"

#include "core/data/ProgramData.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/MemoRules.h"
#include "core/sequence/tMemoExercise.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/sequence/TBMPPresentDlg.h"
#include "exercises/sequence/TTelDlg.h"
#include "platform/Fonts.h"
#include "platform/MediaFiles.h"
#include "platform/Scheduling.h"
#include "platform/SoundPlayer.h"
#include "toolkit/AppContext.h"
#include "toolkit/TImage.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <thread>

namespace {

using namespace gf;
using namespace gf::bench;
using SClock = std::chrono::steady_clock;
using Ms = std::chrono::duration<double, std::milli>;

// Every onset the recorder reports, in arrival order.
class Onsets
{
public:
    void start(int fd)
    {
        m_reader = std::thread([this, fd] {
            for (std::string line; !(line = readLine(fd, 3'600'000)).empty();) {
                const std::lock_guard lock(m_mutex);
                m_all.push_back(SClock::time_point(std::chrono::nanoseconds(std::stoll(line))));
            }
        });
    }
    void join() { m_reader.join(); }
    std::vector<SClock::time_point> since(SClock::time_point from)
    {
        const std::lock_guard lock(m_mutex);
        std::vector<SClock::time_point> out;
        for (SClock::time_point t : m_all)
            if (t >= from)
                out.push_back(t);
        return out;
    }

private:
    std::mutex m_mutex;
    std::vector<SClock::time_point> m_all;
    std::thread m_reader;
};

Onsets g_onsets;

// How long a file is silent before its first loud sample (the recorder's threshold).
Ms leadIn(const QString& path)
{
    QFile f(path);
    const std::optional<WavInfo> info = readWavInfo(path);
    if (!info || !f.open(QIODevice::ReadOnly))
        return Ms(0);
    const QByteArray all = f.readAll();
    const int data = all.indexOf("data") + 8;
    const int bytes = info->bitsPerSample / 8, frame = bytes * info->channels;
    for (qint64 i = data; i + frame <= all.size(); i += frame) {
        int sum = 0;
        for (int c = 0; c < info->channels; ++c) {
            const char* p = all.constData() + i + c * bytes;
            sum += bytes == 1 ? (int(quint8(*p)) - 128) * 256 : int(qFromLittleEndian<qint16>(p));
        }
        if (std::abs(sum / info->channels) > 600)
            return Ms(double(i - data) / frame * 1000.0 / info->sampleRate);
    }
    return Ms(0);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void print(const char* label, const std::vector<double>& e)
{
    const Spread s = spread(e);
    std::printf("%s: mean %.3f sd %.3f max %.3f (n %zu)\n", label, s.mean, s.sd, s.max, e.size());
    std::fflush(stdout);
}

struct Sound
{
    SClock::time_point nominal; // when the schedule starts it
    Ms lead{0};                // silence at the head of its file
    SClock::time_point seen{};  // the paint that showed its event, if any
};

Ms g_latency{0};

// Each sound's heard start against its nominal one, and against the picture's paint.
void judge(const char* kind, const std::vector<Sound>& sounds, SClock::time_point from,
           std::vector<double>& errors, std::vector<double>& av)
{
    std::vector<SClock::time_point> heard = g_onsets.since(from);
    int missed = 0;
    std::size_t next = 0;
    for (const Sound& s : sounds) {
        const SClock::time_point expected =
            s.nominal + std::chrono::duration_cast<SClock::duration>(s.lead + g_latency);
        while (next < heard.size() && heard[next] < expected - std::chrono::milliseconds(60))
            ++next;
        if (next == heard.size() || heard[next] > expected + std::chrono::milliseconds(300)) {
            ++missed;
            continue;
        }
        const SClock::time_point start =
            heard[next++] - std::chrono::duration_cast<SClock::duration>(s.lead + g_latency);
        errors.push_back(Ms(start - s.nominal).count());
        if (qEnvironmentVariableIsSet("GF_BENCH_VERBOSE"))
            std::fprintf(stderr, "%s: nominal %.1f heard %.1f seen %.1f lead %.1f\n", kind,
                         Ms(s.nominal - from).count(), Ms(start - from).count(),
                         s.seen == SClock::time_point{} ? -1.0 : Ms(s.seen - from).count(),
                         s.lead.count());
        if (s.seen != SClock::time_point{})
            av.push_back(Ms(start - s.seen).count());
    }
    if (missed)
        std::printf("%s (audio): %d of %zu sounds not heard\n", kind, missed, sounds.size());
}

// Stamps the end of every paint of a widget.
class PaintEnd final : public QObject
{
public:
    explicit PaintEnd(QWidget* w) : m_w(w) { w->installEventFilter(this); }
    std::function<void(SClock::time_point)> onPainted;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o != m_w || e->type() != QEvent::Paint)
            return false;
        m_w->removeEventFilter(this);
        QCoreApplication::sendEvent(m_w, e);
        m_w->installEventFilter(this);
        if (onPainted)
            onPainted(SClock::now());
        return true;
    }

private:
    QWidget* m_w;
};

QString g_class = QStringLiteral("none seen");

void telephone(int mode, std::vector<double>& errors, std::vector<double>& av)
{
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.TelMode = quint16(mode);
    setup.user().TelLevel[mode] = 8;
    TTelDlg dlg(ctx);
    dlg.TasksTotal = 4;
    tTelExercise& ex = dlg.Exercise();
    // The display may be painted before or after the digit is announced.
    std::vector<Sound> sounds;
    int painted = 0; // digits on the display at its last paint in this task
    SClock::time_point paintedAt{};
    QObject::connect(&ex, &tTelExercise::digitShown, &dlg, [&](int index) {
        g_class = schedulingClass();
        const QString file = QString(ex.number().at(index)) + QStringLiteral(".wav");
        sounds.push_back({ex.stepDue(), leadIn(resolveMediaFile(ctx.paths.WavDir, file)), {}});
        if (mode == 3 && painted == index + 1)
            sounds.back().seen = paintedAt;
    });
    PaintEnd paint(dlg.Display);
    paint.onPainted = [&](SClock::time_point t) {
        int digits = 0;
        for (QChar c : ex.display())
            digits += c.isDigit() ? 1 : 0;
        if (ex.phase() != tTelExercise::Phase::Presenting) {
            painted = 0;
            return;
        }
        if (digits > painted) {
            painted = digits;
            paintedAt = t;
            if (mode == 3 && !sounds.empty() && int(sounds.size()) >= digits &&
                sounds.back().seen == SClock::time_point{})
                sounds.back().seen = t;
        }
    };
    QObject::connect(&ex, &tTelExercise::phaseChanged, &dlg, [&](tTelExercise::Phase phase) {
        if (phase == tTelExercise::Phase::Dialling)
            QTimer::singleShot(0, &dlg, [&] {
                for (QChar c : ex.number())
                    ex.dial(c.digitValue());
            });
        if (phase == tTelExercise::Phase::Ready || phase == tTelExercise::Phase::Pausing)
            QTimer::singleShot(300, &dlg, [&] { ex.startTask(); });
    });
    const SClock::time_point from = SClock::now();
    QTimer::singleShot(3000, &dlg, [&] { ex.startTask(); });
    dlg.exec();
    wait(500);
    judge("telephone-digit", sounds, from, errors, av);
}

void memoSounds(int mode, SoundPlayer& player, std::vector<double>& errors, std::vector<double>& av)
{
    ExerciseSetup setup;
    AppContext& ctx = setup.ctx;
    ctx.player = &player;
    setup.user().MemoLevel[mode] = memo::MaxStartLevel;
    TBMPPresentDlg dlg(ctx);
    dlg.Mode = quint16(mode);
    dlg.TasksTotal = 1;
    tMemoExercise& ex = dlg.Exercise();
    std::vector<Sound> sounds;
    int step = 0;
    QObject::connect(&ex, &tMemoExercise::stageChanged, &dlg, [&] {
        if (ex.stageStep() != 0 && ex.stageStep() != step) {
            g_class = schedulingClass();
            const int item = ex.items().at(ex.stageStep() - 1);
            sounds.push_back({ex.stageOnset(),
                              leadIn(resolveMediaFile(ctx.paths.WavDir, memo::soundFile(item))),
                              {}});
        }
        step = ex.stageStep();
    });
    // The window paints the picture before the stage's change reaches us: by step.
    PaintEnd paint(dlg.Image);
    std::map<int, SClock::time_point> seen;
    paint.onPainted = [&](SClock::time_point t) {
        if (mode == 3 && ex.stageStep() != 0 && !seen.count(ex.stageStep()))
            seen[ex.stageStep()] = t;
    };
    QObject::connect(&ex, &tMemoExercise::phaseChanged, &dlg, [&](tMemoExercise::Phase phase) {
        if (phase == tMemoExercise::Phase::Answering)
            QTimer::singleShot(0, &dlg, [&] { static_cast<QDialog&>(dlg).done(mrCancel); });
    });
    const SClock::time_point from = SClock::now();
    QTimer::singleShot(3000, &dlg, [&] { ex.startTask(); });
    dlg.exec();
    wait(500);
    for (std::size_t i = 0; i < sounds.size(); ++i)
        if (seen.count(int(i) + 1))
            sounds[i].seen = seen[int(i) + 1];
    judge("memo-event", sounds, from, errors, av);
}

} // namespace

int main(int argc, char** argv)
{
    // The sound server: private, a null sink only, never spawned by a client on its own.
    const std::string dir = tempDir("pulse");
    {
        QFile conf(QString::fromStdString(dir + "/client.conf"));
        conf.open(QIODevice::WriteOnly);
        conf.write("autospawn = no\n");
    }
    const std::string socket = dir + "/native";
    const std::vector<std::string> env = {"PULSE_RUNTIME_PATH=" + dir, "PULSE_STATE_PATH=" + dir,
                                          "PULSE_CLIENTCONFIG=" + dir + "/client.conf",
                                          "PULSE_SERVER=unix:" + socket, "HOME=" + dir};
    for (const std::string& e : env)
        ::putenv(const_cast<char*>(e.c_str()));
    Child server = spawn({"pulseaudio", "-n", "--daemonize=no", "--use-pid-file=no",
                          "--exit-idle-time=-1", "--disallow-exit", "--log-target=stderr",
                          "-L", "module-null-sink sink_name=gfnull rate=48000",
                          "-L", "module-native-protocol-unix auth-anonymous=1 socket=" + socket});
    if (server.pid < 0 || !waitFor(socket, 10000)) {
        std::fprintf(stderr, "bench_audio: the sound server (pulseaudio) did not start\n");
        gf::bench::stop(server);
        return 1;
    }
    Child recorder = spawn({GF_AUDIO_REC, "gfnull.monitor"}, {}, true);
    if (readLine(recorder.out, 10000) != "ready") {
        std::fprintf(stderr, "bench_audio: the recorder did not start\n");
        gf::bench::stop(recorder);
        gf::bench::stop(server);
        return 1;
    }
    raiseLikeProgram(recorder.pid);
    g_onsets.start(recorder.out);

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontSubstitutes();
    ScopedMessageHook quiet;
    timing::setScale(1.0);
    const std::unique_ptr<SoundPlayer> player = createSoundPlayer(false);

    // The player alone, the same file again and again: how many plays are heard, and the
    // constant latency of the path.
    {
        const QString one = resolveMediaFile(installDir() + QStringLiteral("WAV/"),
                                             QStringLiteral("1.wav"));
        const Ms lead = leadIn(one);
        player->preload({one});
        wait(3000);
        std::vector<Sound> plays;
        const SClock::time_point from = SClock::now();
        for (int i = 0; i < 15; ++i) {
            plays.push_back({SClock::now(), lead, {}});
            player->playFile(one);
            wait(700);
        }
        player->stop();
        player->close();
        g_latency = Ms(0);
        std::vector<double> errors, none;
        // Generous window: the first plays tell the latency.
        std::vector<SClock::time_point> heard = g_onsets.since(from);
        std::vector<double> lat;
        for (const Sound& s : plays) {
            const SClock::time_point start = s.nominal + std::chrono::duration_cast<SClock::duration>(lead);
            for (SClock::time_point h : heard)
                if (h >= start && h < start + std::chrono::milliseconds(600)) {
                    lat.push_back(Ms(h - start).count());
                    break;
                }
        }
        if (qEnvironmentVariableIsSet("GF_BENCH_VERBOSE")) {
            for (const Sound& s : plays)
                std::fprintf(stderr, "play at %.1f\n", Ms(s.nominal - from).count());
            for (SClock::time_point h : heard)
                std::fprintf(stderr, "heard at %.1f\n", Ms(h - from).count());
        }
        std::vector<double> sorted = lat;
        std::sort(sorted.begin(), sorted.end());
        g_latency = sorted.empty() ? Ms(0) : Ms(sorted[sorted.size() / 2]);
        std::printf("player: heard %zu of %zu plays, sound path latency %.1f ms\n", lat.size(),
                    plays.size(), g_latency.count());
        std::fflush(stdout);
    }

    const QStringList wanted =
        qEnvironmentVariable("GF_AUDIO_KINDS").split(u',', Qt::SkipEmptyParts);
    auto want = [&](const char* k) { return wanted.isEmpty() || wanted.contains(QLatin1String(k)); };
    if (want("telephone-digit")) {
        std::vector<double> errors, av;
        telephone(1, errors, av);
        telephone(3, errors, av);
        print("telephone-digit (audio): onset error ms", errors);
        print("av-offset: ms", av);
    }
    if (want("memo-event")) {
        std::vector<double> errors, av;
        memoSounds(1, *player, errors, av);
        memoSounds(3, *player, errors, av);
        print("memo-event (audio): onset error ms", errors);
        print("av-offset: ms", av);
    }
    std::printf("scheduling class in force: %s\n", qPrintable(g_class));
    gf::bench::stop(recorder);
    g_onsets.join();
    gf::bench::stop(server);
    return 0;
}
