#include "core/results/DailyResults.h"

#include "core/data/ProgramData.h"

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

tKatValues katValues(const tProgramData& data)
{
    tKatValues k;
    k.WordCount = quint16(data.WortStatList.size());
    k.PictureCount = quint16(data.BildStatList.size());
    const auto wortToday = katToday(data.WortStatList);
    const auto bildToday = katToday(data.BildStatList);
    for (int l = 1; l <= 4; ++l) {
        k.Values[l] = wortToday[l];
        k.Values[4 + l] = data.WortAvg[l];
        k.Values[8 + l] = bildToday[l];
        k.Values[12 + l] = data.BildAvg[l];
    }
    k.WortTotal = data.WortTotal;
    k.BildTotal = data.BildTotal;
    return k;
}

tSeqValues seqValues(const tProgramData& data)
{
    tSeqValues s;
    s.TelRunsToday = quint16(data.TelStatList.size());
    s.MemoRunsToday = quint16(data.MemoStatList.size());
    int h = 0;
    seqValuesOf(data.TelStatList, false, data.TelBest, data.TelAvg, h, s.TelBestEarlier,
              s.TelSafeEarlier, s.TelSafeToday, s.TelCountToday);
    seqValuesOf(data.MemoStatList, true, data.MemoBest, data.MemoAvg, h, s.MemoBestEarlier,
              s.MemoSafeEarlier, s.MemoSafeToday, s.MemoCountToday);
    s.NumLevels = h > 0 ? std::min(h, MaxScaleLevel) : 9;
    s.TelCountEarlier = data.TelCount;
    s.MemoCountEarlier = data.MemoCount;
    s.TelTotal = data.TelTotal;
    s.MemoTotal = data.MemoTotal;
    return s;
}

QString katValueText(double value)
{
    if (value == NoValueReal || !std::isfinite(value))
        return QStringLiteral("--");
    return QString::number(std::round(value), 'f', 0) + u'%';
}

} // namespace gf
