// Prints one line per stimulus kind:
//   <kind>: onset error ms: mean M sd S max X (n N)
// and with GF_ONSET_XSERVER=1 the same seen on the X server, and the answers to input:
//   <kind> (x-server): onset error ms: ...
//   <kind>: latency ms: p50 A p99 B max C (n N)
// Without it the offscreen platform; GF_ONSET_KINDS=word,memo-event limits the kinds.

#include "Onset.h"
#include "XServer.h"

#include "core/data/Timing.h"
#include "platform/Fonts.h"
#include "platform/Scheduling.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gf::bench {

namespace {
const char* g_kind = "";
// Per kind, the scheduling class at its last onset or input.
std::vector<std::pair<std::string, QString>> g_classes;
} // namespace

void noteClass(const char* kind)
{
    const std::string of = kind ? kind : g_kind;
    const QString now = schedulingClass();
    for (auto& [k, cls] : g_classes)
        if (k == of) {
            cls = now;
            return;
        }
    g_classes.emplace_back(of, now);
}

bool PaintStamp::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_stage || event->type() != QEvent::Paint)
        return false;
    // Let the stage paint first, then take the time.
    m_began = SteadyClock::now();
    m_stage->removeEventFilter(this);
    QCoreApplication::sendEvent(m_stage, event);
    m_stage->installEventFilter(this);
    m_last = SteadyClock::now();
    if (onPainted)
        onPainted(m_last);
    return true;
}

double onsetError(const char* kind, const PaintStamp& stamp, SteadyClock::time_point painted,
                  SteadyClock::time_point nominal)
{
    using Ms = std::chrono::duration<double, std::milli>;
    const SteadyClock::time_point began = stamp.began();
    noteOnset(kind, screenRect(stamp.stage()), began, nominal);
    noteClass(kind);
    const double error = Ms(painted - nominal).count();
    if (verbose())
        std::fprintf(stderr, "  %8.3f ms (paint began %8.3f)\n", error,
                     Ms(began - nominal).count());
    return error;
}

std::vector<OnsetKind>& onsetKinds()
{
    static std::vector<OnsetKind> kinds;
    return kinds;
}

} // namespace gf::bench

namespace {

void printOnsets(const char* kind, const char* where, const std::vector<double>& e)
{
    const gf::bench::Spread s = gf::bench::spread(e);
    std::printf("%s%s: onset error ms: mean %.3f sd %.3f max %.3f (n %zu)\n", kind, where, s.mean,
                s.sd, s.max, e.size());
}

void printLatencies(const char* kind, std::vector<double> e)
{
    std::sort(e.begin(), e.end());
    auto at = [&](double q) { return e.empty() ? 0.0 : e[std::size_t(q * double(e.size() - 1) + 0.5)]; };
    std::printf("%s: latency ms: p50 %.3f p99 %.3f max %.3f (n %zu)\n", kind, at(0.5), at(0.99),
                e.empty() ? 0.0 : e.back(), e.size());
}

} // namespace

int main(int argc, char** argv)
{
    // GF_ONSET_XSERVER=1: the windows on an X server of our own, watched from outside.
    const bool xServer = qEnvironmentVariable("GF_ONSET_XSERVER") == QLatin1String("1");
    if (xServer && !gf::bench::startXServer()) {
        std::fprintf(stderr, "bench_onset: Xvfb and the observer did not start\n");
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    int status = 0;
    {
        QApplication app(argc, argv);
        gf::registerFontSubstitutes();
        gf::ScopedMessageHook quiet; // no box may hold a measurement up
        const QStringList wanted =
            qEnvironmentVariable("GF_ONSET_KINDS").split(u',', Qt::SkipEmptyParts);
        for (const gf::bench::OnsetKind& k : gf::bench::onsetKinds()) {
            if (!wanted.isEmpty() && !wanted.contains(QLatin1String(k.kind)))
                continue;
            if (k.latency && !xServer)
                continue;
            gf::bench::g_kind = k.kind;
            const std::vector<double> e = k.measure();
            int missed = 0;
            if (k.latency) {
                printLatencies(k.kind, gf::bench::xServerLatencies(&missed));
            } else {
                printOnsets(k.kind, "", e);
                if (xServer)
                    printOnsets(k.kind, " (x-server)", gf::bench::xServerErrors(k.kind, &missed));
            }
            if (missed)
                std::printf("%s: %d without a change on the X server\n", k.kind, missed);
            std::fflush(stdout);
        }
        // Kinds grouped by class: "SCHED_FIFO 10 (word, picture); SCHED_OTHER nice 0 (door)".
        QStringList classes;
        for (const auto& [kind, cls] : gf::bench::g_classes) {
            const auto at = std::find_if(classes.begin(), classes.end(), [&](const QString& c) {
                return c.startsWith(cls + QStringLiteral(" ("));
            });
            if (at == classes.end())
                classes << cls + QStringLiteral(" (") + QString::fromStdString(kind) + u')';
            else
                at->insert(at->size() - 1, QStringLiteral(", ") + QString::fromStdString(kind));
        }
        std::printf("scheduling class in force: %s\n",
                    classes.isEmpty() ? "no stimulus seen" : qPrintable(classes.join(u"; ")));
    }
    if (xServer)
        gf::bench::stopXServer();
    return status;
}
