// The therapist's overview of a data folder of 200 detectives with ten years of weekly
// training in all four work areas, against reading every file of the folder once with
// cat; and the first page of the "Fortschritt" window for one of them, off screen.
//
// Goals: the overview within three times the cat run (warm cache); the window's first
// page painted within 300 ms of the request to open it.

#include "core/data/FileFormats.h"
#include "core/data/ProgramData.h"
#include "core/data/Timing.h"
#include "core/results/TrainingOverview.h"
#include "exercises/results/TFortschrittDlg.h"
#include "toolkit/AppContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace gf;

namespace {

constexpr int Detectives = 200;
constexpr int Months = 120;
const QDate First(2010, 1, 1);
const QDate Last = First.addMonths(Months).addDays(-1);

// One exercise of each work area on one weekday of every week, in monthly logs.
struct Folder
{
    QTemporaryDir dir{QDir::tempPath() + QStringLiteral("/gf-bench-XXXXXX")};
    tProgramData data;

    Folder()
    {
        data.setDataDir(dir.path());
        for (int i = 0; i < Detectives; ++i) {
            const QString name = QStringLiteral("Detektiv%1").arg(i, 3, 10, QLatin1Char('0'));
            data.UserName = name;
            if (!data.registerUser(name, 1) || !data.openUser())
                std::abort();
            tUser& user = *data.CurrentUser;
            const int weekday = 1 + i % 5;
            for (int m = 0; m < Months; ++m) {
                const QDate month = First.addMonths(m);
                QByteArray logs[4];
                for (QDate day = month; day < month.addMonths(1); day = day.addDays(1)) {
                    if (day.dayOfWeek() != weekday)
                        continue;
                    const SerialDate stamp = SerialDate::fromDateTime(QDateTime(day, QTime(10, 0)));
                    const int week = int(First.daysTo(day) / 7);
                    tWortKatStat w;
                    w.Stamp = stamp;
                    w.AskedPerLevel = {{4, 4, 3, 2}};
                    w.CorrectPerLevel = {{3, quint16(week % 5), 1, 1}};
                    fileformat::encodeKat(w, logs[0]);
                    fileformat::encodeKat(w, logs[1]);
                    tTeleStat t;
                    t.Mode = quint16(1 + week % 3);
                    t.Stamp = stamp;
                    t.BestSpan = 4 + week % 4;
                    t.MaxLevel = quint16(t.BestSpan + 1);
                    fileformat::encodeTel(t, logs[2]);
                    tBmpSndStat s;
                    s.Mode = t.Mode;
                    s.Stamp = stamp;
                    s.BestSpan = 3 + week % 3;
                    s.MaxLevel = quint16(s.BestSpan + 1);
                    fileformat::encodeMemo(s, logs[3]);
                }
                const ExerciseKind kinds[4] = {ExerciseKind::Wort, ExerciseKind::Bild,
                                               ExerciseKind::Tel, ExerciseKind::Memo};
                for (int k = 0; k < 4; ++k) {
                    const QString file = data.DataDir + name + kindTag(kinds[k]) +
                                         month.toString(QStringLiteral("_yy_MM")) +
                                         QStringLiteral(".dat");
                    QFile out(file);
                    if (!out.open(QIODevice::WriteOnly) || out.write(logs[k]) != logs[k].size())
                        std::abort();
                    user.Files(kinds[k]).append(file);
                }
            }
            if (!data.SaveUserFile())
                std::abort();
        }
        catFolder(); // warms the cache
    }

    void catFolder() const
    {
        const QString command =
            QStringLiteral("find '%1' -type f -exec cat {} + > /dev/null").arg(dir.path());
        if (QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}) != 0)
            std::abort();
    }
};

Folder& folder()
{
    static Folder f;
    return f;
}

void BM_CatEveryFile(benchmark::State& state)
{
    const Folder& f = folder();
    for (auto _ : state)
        f.catFolder();
}

// The same bytes read in this process, file by file, for comparison.
void BM_ReadEveryFile(benchmark::State& state)
{
    const Folder& f = folder();
    const QStringList names = QDir(f.dir.path()).entryList(QDir::Files);
    for (auto _ : state) {
        qint64 bytes = 0;
        for (const QString& name : names) {
            QFile file(f.dir.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_Overview(benchmark::State& state)
{
    Folder& f = folder();
    tProgramData reader;
    reader.setDataDir(f.dir.path());
    for (auto _ : state) {
        const tOverview o = buildOverview(reader, Last);
        if (o.rows.size() != Detectives || !o.complete())
            std::abort();
        benchmark::DoNotOptimize(o.rows.data());
    }
}

// The last day of the ten years is today.
struct LastDay final : Clock
{
    QDateTime now() const override { return QDateTime(Last, QTime(18, 0)); }
};

// From the request to open the window to the end of the paint of its first page; with
// the argument 3 the range is everything (520 weeks) before the window opens.
void BM_WindowFirstPage(benchmark::State& state)
{
    Folder& f = folder();
    LastDay today;
    tProgramData data(nullptr, &today);
    data.setDataDir(f.dir.path());
    data.UserName = QStringLiteral("Detektiv000");
    if (!data.openUser())
        std::abort();
    data.createSessionLists();
    AppContext ctx;
    ctx.data = &data;
    TFortschrittDlg dlg(ctx);
    dlg.resize(800, 600);
    struct PaintSeen : QObject
    {
        bool seen = false;
        bool eventFilter(QObject*, QEvent* e) override
        {
            seen = seen || e->type() == QEvent::Paint;
            return false;
        }
    } paint;
    dlg.Chart->installEventFilter(&paint);
    for (auto _ : state) {
        paint.seen = false;
        QElapsedTimer clock;
        clock.start();
        dlg.open();
        if (state.range(0) != TFortschrittDlg::DefaultRange)
            dlg.setRange(int(state.range(0)));
        while (!paint.seen)
            QCoreApplication::processEvents();
        state.SetIterationTime(clock.nsecsElapsed() / 1e9);
        dlg.done(0);
        QCoreApplication::processEvents();
    }
    state.counters["weeks"] = double(dlg.Chart->Report.weeks.size());
}

} // namespace

BENCHMARK(BM_CatEveryFile)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_ReadEveryFile)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_Overview)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_WindowFirstPage)
    ->Arg(TFortschrittDlg::DefaultRange)
    ->Arg(3)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
