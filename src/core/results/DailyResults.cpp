#include "core/results/DailyResults.h"

#include "core/data/Journal.h"
#include "core/data/ProgramData.h"
#include "core/data/ResultWalk.h"
#include "core/data/Timing.h"

#include <algorithm>
#include <cmath>

namespace gf {

namespace {

template <typename Stat> RangeArray<double, 1, 4> katTodayOf(const QList<Stat>& records)
{
    RangeArray<double, 1, 4> today;
    today.fill(NoValueReal);
    // Wide sums: a long day cannot wrap them.
    RangeArray<qint64, 1, 4> asked{}, right{};
    for (const Stat& r : records)
        for (int l = 1; l <= 4; ++l) {
            asked[l] += r.AskedPerLevel[l];
            right[l] += r.CorrectPerLevel[l];
        }
    for (int l = 1; l <= 4; ++l)
        if (asked[l] != 0)
            today[l] = double(right[l]) * 100.0 / double(asked[l]);
    return today;
}

// One sequence exercise's today and earlier values; h is the highest level seen so far.
// countAll: every record counts in the day's count, not only those with a length.
template <typename Stat>
void seqValuesOf(const QList<Stat>& records, bool countAll, const RangeArray<qint32, 1, 3>& best,
                 const RangeArray<double, 1, 3>& avg, int& h, RangeArray<qint32, 1, 3>& bestEarlier,
                 RangeArray<double, 1, 3>& safeEarlier, RangeArray<double, 1, 3>& safeToday,
                 RangeArray<quint16, 1, 3>& countToday)
{
    RangeArray<int, 1, 3> n{};
    RangeArray<double, 1, 3> sum{};
    countToday.fill(0);
    for (const Stat& r : records) {
        h = std::max(h, int(r.MaxLevel));
        if (!n.contains(r.Mode))
            continue;
        if (countAll)
            ++countToday[r.Mode];
        if (r.BestSpan == NoValue)
            continue;
        ++n[r.Mode];
        if (!countAll)
            ++countToday[r.Mode];
        sum[r.Mode] += r.BestSpan;
    }
    for (int m = 1; m <= 3; ++m) {
        bestEarlier[m] = best[m];
        h = std::max(h, int(best[m]));
        safeEarlier[m] = avg[m];
        safeToday[m] = n[m] == 0 ? NoValueReal : sum[m] / n[m];
    }
}

} // namespace

RangeArray<double, 1, 4> katToday(const QList<tWortKatStat>& records)
{
    return katTodayOf(records);
}

RangeArray<double, 1, 4> katToday(const QList<tBmpKatStat>& records)
{
    return katTodayOf(records);
}

namespace {

// One day's records of the detective logged in (stored ones from every session of the
// day and those not stored yet), and how many exercises lie before that day.
struct Day
{
    RecordLists today;
    RangeArray<int, 1, 4> earlierCount{};
    const tLedger* ledgers[4] = {};
    QDate date;
};

Day dayOf(const tProgramData& data)
{
    Day d;
    d.date = data.clock().now().date();
    if (!data.CurrentUser) {
        // No detective: only what the session lists hold.
        d.today.Tel = data.TelStatList;
        d.today.Memo = data.MemoStatList;
        d.today.Wort = data.WortStatList;
        d.today.Bild = data.BildStatList;
        return d;
    }
    QList<DamagedLog> damaged;
    for (ExerciseKind k : AllExerciseKinds) {
        data.walkResults(*data.CurrentUser, k, DayRange{d.date, d.date}, d.today, damaged);
        RecordCounter before;
        data.walkResults(*data.CurrentUser, k, DayRange{QDate(), d.date.addDays(-1)}, before,
                         damaged);
        d.earlierCount[logIndex(k)] = int(before.records);
        if (data.journal())
            d.ledgers[int(k)] = &(*data.journal())[k];
    }
    return d;
}

} // namespace

tKatValues katValues(const tProgramData& data)
{
    const Day day = dayOf(data);
    tKatValues k;
    k.WordCount = quint16(day.today.Wort.size());
    k.PictureCount = quint16(day.today.Bild.size());
    const auto wortToday = katToday(day.today.Wort);
    const auto bildToday = katToday(day.today.Bild);
    RangeArray<double, 1, 4> wortEarlier = data.WortAvg;
    RangeArray<double, 1, 4> bildEarlier = data.BildAvg;
    if (const tLedger* l = day.ledgers[int(ExerciseKind::Wort)])
        wortEarlier = katEarlier(*l, day.date).Avg;
    if (const tLedger* l = day.ledgers[int(ExerciseKind::Bild)])
        bildEarlier = katEarlier(*l, day.date).Avg;
    for (int l = 1; l <= 4; ++l) {
        k.Values[l] = wortToday[l];
        k.Values[4 + l] = wortEarlier[l];
        k.Values[8 + l] = bildToday[l];
        k.Values[12 + l] = bildEarlier[l];
    }
    k.WortTotal =
        data.CurrentUser ? day.earlierCount[logIndex(ExerciseKind::Wort)] : data.WortTotal;
    k.BildTotal =
        data.CurrentUser ? day.earlierCount[logIndex(ExerciseKind::Bild)] : data.BildTotal;
    return k;
}

tSeqValues seqValues(const tProgramData& data)
{
    const Day day = dayOf(data);
    tSeqValues s;
    s.TelRunsToday = quint16(day.today.Tel.size());
    s.MemoRunsToday = quint16(day.today.Memo.size());
    fileformat::SeqSummary tel{data.TelBest, data.TelAvg, data.TelCount};
    fileformat::SeqSummary memo{data.MemoBest, data.MemoAvg, data.MemoCount};
    if (const tLedger* l = day.ledgers[int(ExerciseKind::Tel)])
        tel = seqEarlier(*l, day.date);
    if (const tLedger* l = day.ledgers[int(ExerciseKind::Memo)])
        memo = seqEarlier(*l, day.date);
    int h = 0;
    seqValuesOf(day.today.Tel, false, tel.Best, tel.Avg, h, s.TelBestEarlier, s.TelSafeEarlier,
                s.TelSafeToday, s.TelCountToday);
    seqValuesOf(day.today.Memo, true, memo.Best, memo.Avg, h, s.MemoBestEarlier, s.MemoSafeEarlier,
                s.MemoSafeToday, s.MemoCountToday);
    s.NumLevels = h > 0 ? std::min(h, MaxScaleLevel) : 9;
    s.TelCountEarlier = tel.Count;
    s.MemoCountEarlier = memo.Count;
    s.TelTotal = data.CurrentUser ? day.earlierCount[logIndex(ExerciseKind::Tel)] : data.TelTotal;
    s.MemoTotal =
        data.CurrentUser ? day.earlierCount[logIndex(ExerciseKind::Memo)] : data.MemoTotal;
    return s;
}

QString katValueText(double value)
{
    if (value == NoValueReal || !std::isfinite(value))
        return QStringLiteral("--");
    return QString::number(std::round(value), 'f', 0) + u'%';
}

} // namespace gf
