// Prints one line per stimulus kind:
//   <kind>: onset error ms: mean M sd S max X (n N)
// Run under the offscreen platform; GF_ONSET_KINDS=word,memo-event limits the kinds.

#include "Onset.h"

#include "core/data/Timing.h"
#include "platform/Fonts.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gf::bench {

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

double onsetError(SteadyClock::time_point painted, SteadyClock::time_point began,
                  SteadyClock::time_point nominal)
{
    using Ms = std::chrono::duration<double, std::milli>;
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

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    gf::registerFontSubstitutes();
    gf::ScopedMessageHook quiet; // no box may hold a measurement up
    const QStringList wanted =
        qEnvironmentVariable("GF_ONSET_KINDS").split(u',', Qt::SkipEmptyParts);
    for (const gf::bench::OnsetKind& k : gf::bench::onsetKinds()) {
        if (!wanted.isEmpty() && !wanted.contains(QLatin1String(k.kind)))
            continue;
        const std::vector<double> e = k.measure();
        double mean = 0, sd = 0, mx = 0;
        for (double v : e)
            mean += v;
        mean = e.empty() ? 0 : mean / double(e.size());
        for (double v : e) {
            sd += (v - mean) * (v - mean);
            mx = std::max(mx, std::abs(v));
        }
        sd = e.size() < 2 ? 0 : std::sqrt(sd / double(e.size() - 1));
        std::printf("%s: onset error ms: mean %.3f sd %.3f max %.3f (n %zu)\n", k.kind, mean, sd,
                    mx, e.size());
        std::fflush(stdout);
    }
    return 0;
}
