#include "core/results/ProgressReport.h"

#include "core/data/Formats.h"

#include <QJsonArray>

#include <algorithm>
#include <map>

namespace gf {

std::optional<double> tReportKat::percent(int l) const
{
    if (asked[l] == 0)
        return std::nullopt;
    return double(right[l]) * 100.0 / double(asked[l]);
}

std::optional<double> tReportMode::meanSpan() const
{
    if (spans == 0)
        return std::nullopt;
    return double(spanSum) / spans;
}

std::optional<int> tReportMode::highestLevel() const
{
    if (count == 0)
        return std::nullopt;
    return maxLevel;
}

QString tReportWeek::label() const
{
    return QStringLiteral("%1-W%2").arg(year).arg(week, 2, 10, QLatin1Char('0'));
}

namespace {

// Sorts each record into the ISO week of its stamp.
class WeekCollector final : public ResultVisitor
{
public:
    std::map<int, tReportWeek> weeks;

    void tel(const tTeleStat& r) override { addSeq(r, &tReportWeek::telephone); }
    void memo(const tBmpSndStat& r) override { addSeq(r, &tReportWeek::memo); }
    void wort(const tWortKatStat& r) override { addKat(r, &tReportWeek::word); }
    void bild(const tBmpKatStat& r) override { addKat(r, &tReportWeek::picture); }

private:
    // Null for a stamp no calendar holds: it belongs to no week.
    tReportWeek* weekOf(const SerialDate& stamp)
    {
        const QDate day = stamp.date();
        if (!day.isValid())
            return nullptr;
        int year = 0;
        const int week = day.weekNumber(&year);
        tReportWeek& w = weeks[year * 100 + week];
        w.year = year;
        w.week = week;
        return &w;
    }
    void addKat(const tWortKatStat& r, tReportKat tReportWeek::*kind)
    {
        tReportWeek* w = weekOf(r.Stamp);
        if (!w)
            return;
        tReportKat& k = w->*kind;
        ++k.count;
        for (int l = 1; l <= 4; ++l) {
            k.asked[l] += r.AskedPerLevel[l];
            k.right[l] += r.CorrectPerLevel[l];
        }
    }
    template <typename Stat>
    void addSeq(const Stat& r, RangeArray<tReportMode, 1, 3> tReportWeek::*kind)
    {
        if (r.Mode < 1 || r.Mode > 3)
            return;
        tReportWeek* w = weekOf(r.Stamp);
        if (!w)
            return;
        tReportMode& m = (w->*kind)[r.Mode];
        m.maxLevel = m.count == 0 ? r.MaxLevel : std::max<int>(m.maxLevel, r.MaxLevel);
        ++m.count;
        if (r.BestSpan != NoValue) {
            ++m.spans;
            m.spanSum += r.BestSpan;
        }
    }
};

QJsonValue orNull(const std::optional<double>& v)
{
    return v ? QJsonValue(*v) : QJsonValue(QJsonValue::Null);
}

QJsonObject katJson(const tReportKat& k)
{
    QJsonArray percent;
    for (int l = 1; l <= 4; ++l)
        percent.append(orNull(k.percent(l)));
    return QJsonObject{{QStringLiteral("count"), k.count}, {QStringLiteral("percent"), percent}};
}

QJsonObject modesJson(const RangeArray<tReportMode, 1, 3>& modes)
{
    QJsonObject o;
    for (int m = 1; m <= 3; ++m) {
        const tReportMode& r = modes[m];
        const auto level = r.highestLevel();
        o.insert(QString::number(m),
                 QJsonObject{{QStringLiteral("count"), r.count},
                             {QStringLiteral("meanSpan"), orNull(r.meanSpan())},
                             {QStringLiteral("maxLevel"),
                              level ? QJsonValue(*level) : QJsonValue(QJsonValue::Null)}});
    }
    return o;
}

} // namespace

tProgressReport BuildProgressReport(const tUser& user, const DayRange& days)
{
    tProgressReport report;
    report.name = user.Name;
    report.days = days;
    WeekCollector collect;
    for (int kind : {rkWort, rkBild, rkTel, rkMemo})
        WalkStoredResults(user, kind, days, collect, report.damaged);
    for (const auto& entry : collect.weeks)
        report.weeks.append(entry.second);
    return report;
}

QJsonObject ProgressReportJson(const tProgressReport& report)
{
    QJsonArray weeks;
    for (const tReportWeek& w : report.weeks)
        weeks.append(QJsonObject{{QStringLiteral("week"), w.label()},
                                 {QStringLiteral("word"), katJson(w.word)},
                                 {QStringLiteral("picture"), katJson(w.picture)},
                                 {QStringLiteral("telephone"), modesJson(w.telephone)},
                                 {QStringLiteral("memo"), modesJson(w.memo)}});
    return QJsonObject{{QStringLiteral("name"), report.name},
                       {QStringLiteral("complete"), report.complete()},
                       {QStringLiteral("weeks"), weeks}};
}

QString ReportPeriodText(const DayRange& days)
{
    const bool from = days.first.isValid(), to = days.last.isValid();
    if (from && to)
        return FormatShortDate(days.first) + QStringLiteral(" bis ") + FormatShortDate(days.last);
    if (from)
        return QStringLiteral("ab ") + FormatShortDate(days.first);
    if (to)
        return QStringLiteral("bis ") + FormatShortDate(days.last);
    return QStringLiteral("alle Ergebnisse");
}

} // namespace gf
