// Real-time schedule of the telephone exercise: the read mode adds a digit every
// second and the next task follows half a second after the evaluation. Every step is
// timestamped with a monotonic clock and compared with its nominal moment.

#include "core/data/ProgramData.h"
#include "core/data/Records.h"
#include "core/data/Timing.h"
#include "core/sequence/tTelExercise.h"
#include "exercises/sequence/TTelDlg.h"
#include "toolkit/AppContext.h"
#include "toolkit/TxMsgDlg.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace gf;
using namespace std::chrono;
using Phase = tTelExercise::Phase;

namespace {

struct Errors
{
    std::vector<double> ms;
    bool verbose = !qEnvironmentVariableIsEmpty("GF_BENCH_VERBOSE");

    void add(steady_clock::time_point actual, steady_clock::time_point nominal, const char* step)
    {
        ms.push_back(duration<double, std::milli>(actual - nominal).count());
        if (verbose)
            std::printf("  %-6s %8.3f ms\n", step, ms.back());
    }
    double mean() const
    {
        double s = 0;
        for (double v : ms)
            s += v;
        return ms.empty() ? 0 : s / double(ms.size());
    }
    double sd() const
    {
        const double m = mean();
        double s = 0;
        for (double v : ms)
            s += (v - m) * (v - m);
        return ms.size() < 2 ? 0 : std::sqrt(s / double(ms.size() - 1));
    }
    double maxAbs() const
    {
        double x = 0;
        for (double v : ms)
            x = std::max(x, std::abs(v));
        return x;
    }
};

// One exercise of `tasks` tasks in the read mode; the trainee dials at once.
Errors runExercise(int tasks, int length)
{
    AppContext ctx;
    ctx.testRun = true; // silent player: no device needed, nothing to wait for
    tProgramData data;
    data.CurrentUser = std::make_shared<tUser>();
    data.CurrentUser->TelLevel[2] = length;
    ctx.data = &data;
    ctx.TelMode = 2;
    timing::setScale(1.0);
    ScopedMessageHook messages;

    TTelDlg dlg(ctx);
    dlg.TasksTotal = quint16(tasks);
    tTelExercise& ex = dlg.Exercise();

    Errors errors;
    steady_clock::time_point taskStart{}, concluded{};
    bool haveConclusion = false;
    QObject::connect(&ex, &tTelExercise::digitShown, &dlg, [&](int index) {
        errors.add(steady_clock::now(),
                   taskStart + tTelExercise::FirstDigitDelay +
                       index * tTelExercise::ReadDigitInterval,
                   "digit");
    });
    QObject::connect(&ex, &tTelExercise::phaseChanged, &dlg, [&](Phase phase) {
        const auto now = steady_clock::now();
        switch (phase) {
        case Phase::Presenting:
            if (haveConclusion)
                errors.add(now, concluded + tTelExercise::NextTaskDelay, "task");
            taskStart = now;
            break;
        case Phase::Dialling:
            errors.add(now,
                       taskStart + tTelExercise::FirstDigitDelay +
                           ex.numLength() * tTelExercise::ReadDigitInterval,
                       "hide");
            QTimer::singleShot(0, &dlg, [&] {
                for (QChar c : ex.number())
                    ex.dial(c.digitValue());
            });
            break;
        case Phase::Pausing:
            concluded = now;
            haveConclusion = true;
            break;
        default:
            break;
        }
    });
    // The trainee starts a while after the window has appeared.
    QTimer::singleShot(1000, &dlg, [&] { ex.startTask(); });
    dlg.exec();
    return errors;
}

void BM_TelReadSchedule(benchmark::State& state)
{
    for (auto _ : state) {
        const Errors e = runExercise(int(state.range(0)), int(state.range(1)));
        std::printf("onset error ms: mean %.3f sd %.3f max %.3f (n %zu)\n", e.mean(), e.sd(),
                    e.maxAbs(), e.ms.size());
        std::fflush(stdout);
        state.counters["mean_ms"] = e.mean();
        state.counters["sd_ms"] = e.sd();
        state.counters["max_ms"] = e.maxAbs();
    }
}
// 3 tasks from length 5: about 20 s of real time per run.
BENCHMARK(BM_TelReadSchedule)
    ->Args({3, 5})
    ->Iterations(1)
    ->Repetitions(2)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
