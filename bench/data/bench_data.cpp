// Loading a detective and exporting ten years of daily training (3650 records of each
// kind in 120 monthly logs), against reading the same bytes from the same files.

#include "core/data/ProgramData.h"
#include "core/data/ResultWalk.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace gf;

namespace {

struct TenYears
{
    QTemporaryDir dir;
    tProgramData data;

    TenYears()
    {
        data.setDataDir(dir.path());
        data.UserName = QStringLiteral("Anna");
        if (!data.registerUser(QStringLiteral("Anna"), 1) || !data.openUser())
            std::abort();
        const QDate first(2010, 1, 1);
        for (int month = 0; month < 120; ++month) {
            const QDate start = first.addMonths(month);
            data.SessionStart = QDateTime(start, QTime(8, 0));
            data.createSessionLists();
            for (QDate day = start; day < start.addMonths(1) && first.daysTo(day) < 3650;
                 day = day.addDays(1)) {
                const SerialDate stamp = SerialDate::fromDateTime(QDateTime(day, QTime(9, 30, 15)));
                tTeleStat t;
                t.Mode = quint16(1 + day.day() % 3);
                t.Stamp = stamp;
                t.MinLevel = 3;
                t.MaxLevel = 9;
                t.BestSpan = 7;
                for (int l = 3; l <= 9; ++l) {
                    t.Trials[l] = 2;
                    t.Correct[l] = quint16(l % 3);
                }
                data.TelStatList.append(t);
                tBmpSndStat m;
                m.Mode = t.Mode;
                m.Stamp = stamp;
                m.MaxLevel = 8;
                for (int l = 1; l <= 8; ++l) {
                    m.Trials[l] = 3;
                    m.Correct[l] = quint16(l % 4);
                }
                data.MemoStatList.append(m);
                tWortKatStat w;
                w.Stamp = stamp;
                w.AskedPerLevel = {{4, 4, 3, 2}};
                w.CorrectPerLevel = {{3, 2, quint16(day.day() % 4), 1}};
                data.WortStatList.append(w);
                tBmpKatStat b;
                static_cast<tWortKatStat&>(b) = w;
                data.BildStatList.append(b);
            }
            if (!data.SaveSessionResults(*data.CurrentUser))
                std::abort();
        }
        if (!data.SaveUserFile())
            std::abort();
        data.createSessionLists(); // nothing unsaved
    }
};

TenYears& fixture()
{
    static TenYears f;
    return f;
}

qint64 readAllLogs(const QStringList& a, const QStringList& b)
{
    qint64 total = 0;
    for (const QStringList* list : {&a, &b})
        for (const QString& name : *list) {
            QFile f(name);
            if (!f.open(QIODevice::ReadOnly))
                std::abort();
            total += f.readAll().size();
        }
    return total;
}

void BM_LoadDetective(benchmark::State& state)
{
    auto& f = fixture();
    tProgramData d;
    d.setDataDir(f.dir.path());
    for (auto _ : state) {
        d.UserName = QStringLiteral("Anna");
        if (!d.openUser())
            std::abort();
    }
}

void BM_ExportSearch(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) {
        QByteArray out;
        if (!f.data.exportResultsTo(out, *f.data.CurrentUser, false, false, {}, {}, ekWortBild))
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ReadSearchLogs(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            readAllLogs(f.data.CurrentUser->WortFiles, f.data.CurrentUser->BildFiles));
}

void BM_WalkSearch(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) {
        RecordCounter count;
        QList<DamagedLog> damaged;
        for (ExerciseKind kind : {ExerciseKind::Wort, ExerciseKind::Bild})
            f.data.walkResults(*f.data.CurrentUser, kind, {}, count, damaged);
        if (!damaged.isEmpty())
            std::abort();
        benchmark::DoNotOptimize(count.records);
    }
}

void BM_ExportSequence(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state) {
        QByteArray out;
        if (!f.data.exportResultsTo(out, *f.data.CurrentUser, false, false, {}, {}, ekTelMemo))
            std::abort();
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ReadSequenceLogs(benchmark::State& state)
{
    auto& f = fixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            readAllLogs(f.data.CurrentUser->TelFiles, f.data.CurrentUser->MemoFiles));
}

} // namespace

BENCHMARK(BM_LoadDetective)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSearchLogs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportSequence)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSequenceLogs)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
