#include "core/results/TrainingOverview.h"

#include "core/data/Formats.h"
#include "core/data/ProgramData.h"
#include "core/results/ProgressReport.h"
#include "core/results/TipRules.h"

#include <QJsonArray>

#include <algorithm>

namespace gf {

namespace {

// Sums one detective's exercises into the two periods before the reference day.
class OverviewCollector final : public ResultVisitor
{
public:
    explicit OverviewCollector(const QDate& to) : m_ref(to.toJulianDay()) {}

    struct Period
    {
        int count = 0;
        qint64 asked = 0, right = 0; // search: all levels pooled
        int spans = 0;               // sequence: records with a passed length
        qint64 spanSum = 0;
    };
    // Per area (ReportPageOrder): the recent period, then the one before it.
    std::array<std::array<Period, 2>, 4> periods{};
    qint64 lastDay = -1;
    int last7 = 0, last28 = 0;
    QStringList undatedRecords, outOfRange;

    void undated(ExerciseKind kind, const QString& log, qint64 record) override
    {
        Q_UNUSED(kind);
        undatedRecords << undatedText(log, record);
    }
    void wort(const tWortKatStat& r) override { addKat(0, r); }
    void bild(const tBmpKatStat& r) override { addKat(1, r); }
    void tel(const tTeleStat& r) override { addSeq(2, ExerciseKind::Tel, r); }
    void memo(const tBmpSndStat& r) override { addSeq(3, ExerciseKind::Memo, r); }

private:
    // The period the record falls into, or null; counts the exercise.
    Period* count(int area, const SerialDate& stamp)
    {
        const QDate day = stamp.date();
        if (!day.isValid())
            return nullptr;
        const qint64 julian = day.toJulianDay();
        const qint64 age = m_ref - julian; // the walk stops at the reference day
        lastDay = std::max(lastDay, julian);
        last7 += age < 7;
        last28 += age < TrendPeriodDays;
        if (age >= 2 * TrendPeriodDays)
            return nullptr;
        Period& p = periods[area][age < TrendPeriodDays ? 0 : 1];
        ++p.count;
        return &p;
    }
    void note(ExerciseKind exercise, const SerialDate& stamp, const QString& what)
    {
        outOfRange << QStringLiteral("%1 vom %2: %3")
                          .arg(tips::areaName(exercise), formatShortDate(stamp.date()), what);
    }
    void addKat(int area, const tWortKatStat& r)
    {
        Period* p = count(area, r.Stamp);
        if (!p)
            return;
        static const char* const levels[4] = {"I", "II", "III", "IV"};
        for (int l = 1; l <= 4; ++l) {
            // As in the report: more right than asked is no share at all.
            if (r.CorrectPerLevel[l] > r.AskedPerLevel[l]) {
                note(area == 0 ? ExerciseKind::Wort : ExerciseKind::Bild, r.Stamp,
                     QStringLiteral("Stufe %1 mit %2 richtigen von %3 Antworten")
                         .arg(QLatin1String(levels[l - 1]))
                         .arg(r.CorrectPerLevel[l])
                         .arg(r.AskedPerLevel[l]));
                continue;
            }
            p->asked += r.AskedPerLevel[l];
            p->right += r.CorrectPerLevel[l];
        }
    }
    template <typename Stat> void addSeq(int area, ExerciseKind exercise, const Stat& r)
    {
        // A record of no mode belongs to no chart of the report either.
        if (r.Mode < 1 || r.Mode > 3)
            return;
        Period* p = count(area, r.Stamp);
        if (!p || r.BestSpan == NoValue)
            return;
        const int top = reportSpanTop(exercise);
        if (r.BestSpan < 0 || r.BestSpan > top) {
            note(
                exercise, r.Stamp,
                QStringLiteral("sicheres Ergebnis %1 (möglich 0 bis %2)").arg(r.BestSpan).arg(top));
            return;
        }
        ++p->spans;
        p->spanSum += r.BestSpan;
    }

    qint64 m_ref;
};

Trend compare(double recent, double before, double step)
{
    // Shares such as 2/3 are not exact; a change of exactly one step still counts.
    constexpr double slack = 1e-9;
    if (recent - before >= step - slack)
        return Trend::Up;
    if (before - recent >= step - slack)
        return Trend::Down;
    return Trend::Level;
}

Trend trendOf(int area, const std::array<OverviewCollector::Period, 2>& p)
{
    if (p[0].count < TrendMinExercises || p[1].count < TrendMinExercises)
        return Trend::Few;
    if (area < 2) {
        if (p[0].asked == 0 || p[1].asked == 0)
            return Trend::Few;
        return compare(100.0 * p[0].right / p[0].asked, 100.0 * p[1].right / p[1].asked,
                       TrendSearchStep);
    }
    if (p[0].spans == 0 || p[1].spans == 0)
        return Trend::Few;
    return compare(double(p[0].spanSum) / p[0].spans, double(p[1].spanSum) / p[1].spans,
                   TrendSpanStep);
}

} // namespace

tOverview buildOverview(const tProgramData& data, const QDate& to)
{
    tOverview overview;
    overview.to = to;
    const DayRange days{QDate(), to};
    for (const QString& name : data.listUsers()) {
        tUser user;
        QString error;
        if (!data.readStoredUser(name, user, &error)) {
            overview.damaged.append({data.DataDir + name + QStringLiteral(".mnu"), error});
            continue;
        }
        OverviewCollector collect(to);
        for (ExerciseKind kind : ReportPageOrder)
            walkStoredResults(user, kind, days, collect, overview.damaged);
        tOverviewRow row;
        row.name = user.Name;
        if (collect.lastDay >= 0)
            row.lastDay = QDate::fromJulianDay(collect.lastDay);
        row.last7 = collect.last7;
        row.last28 = collect.last28;
        for (int area = 0; area < 4; ++area)
            row.trend[area] = trendOf(area, collect.periods[area]);
        overview.rows << row;
        overview.undated << collect.undatedRecords;
        overview.outOfRange << collect.outOfRange;
    }
    std::stable_sort(overview.rows.begin(), overview.rows.end(),
                     [](const tOverviewRow& a, const tOverviewRow& b) {
                         // Invalid dates (never trained) sort first.
                         if (a.lastDay != b.lastDay)
                             return !a.lastDay.isValid() ||
                                    (b.lastDay.isValid() && a.lastDay < b.lastDay);
                         const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
                         return folded != 0 ? folded < 0 : a.name < b.name;
                     });
    return overview;
}

QString trendKey(Trend trend)
{
    static const char* const keys[] = {"up", "level", "down", "few"};
    return QString::fromLatin1(keys[int(trend)]);
}

QString trendText(Trend trend)
{
    static const char* const texts[] = {"besser", "gleich", "schlechter", "zu wenige"};
    return QString::fromLatin1(texts[int(trend)]);
}

QJsonObject overviewJson(const tOverview& overview)
{
    static const char* const areas[4] = {"word", "picture", "telephone", "memo"};
    QJsonArray rows;
    for (const tOverviewRow& row : overview.rows) {
        QJsonObject trend;
        for (int area = 0; area < 4; ++area)
            trend.insert(QLatin1String(areas[area]), trendKey(row.trend[area]));
        rows.append(
            QJsonObject{{QStringLiteral("name"), row.name},
                        {QStringLiteral("lastDay"),
                         row.lastDay.isValid() ? QJsonValue(row.lastDay.toString(Qt::ISODate))
                                               : QJsonValue(QJsonValue::Null)},
                        {QStringLiteral("last7"), row.last7},
                        {QStringLiteral("last28"), row.last28},
                        {QStringLiteral("trend"), trend}});
    }
    return QJsonObject{{QStringLiteral("complete"), overview.complete()},
                       {QStringLiteral("to"), overview.to.toString(Qt::ISODate)},
                       {QStringLiteral("detectives"), rows}};
}

} // namespace gf
