#include "core/results/ProgressReport.h"

#include "core/data/Formats.h"
#include "core/data/ProgramData.h"
#include "core/results/TipRules.h"

#include <QHash>
#include <QJsonArray>

#include <algorithm>
#include <cmath>
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
    if (levels == 0)
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
    QList<tReportLeftOut> undatedRecords;
    QList<tReportLeftOut> outOfRange;

    void undated(ExerciseKind kind, const QString& log, qint64 record) override
    {
        undatedRecords.append({kind, undatedText(log, record)});
    }

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
    void leaveOut(ExerciseKind exercise, const SerialDate& stamp, const QString& what)
    {
        outOfRange.append({exercise, QStringLiteral("%1 vom %2: %3")
                                         .arg(tips::areaName(exercise),
                                              formatShortDate(stamp.date()), what)});
    }
    void addKat(const tWortKatStat& r, tReportKat tReportWeek::*kind)
    {
        tReportWeek* w = weekOf(r.Stamp);
        if (!w)
            return;
        const ExerciseKind exercise =
            kind == &tReportWeek::word ? ExerciseKind::Wort : ExerciseKind::Bild;
        static const char* const levels[4] = {"I", "II", "III", "IV"};
        tReportKat& k = w->*kind;
        ++k.count;
        for (int l = 1; l <= 4; ++l) {
            // More right than asked would chart above 100 %.
            if (r.CorrectPerLevel[l] > r.AskedPerLevel[l]) {
                leaveOut(exercise, r.Stamp,
                         QStringLiteral("Stufe %1 mit %2 richtigen von %3 Antworten")
                             .arg(QLatin1String(levels[l - 1]))
                             .arg(r.CorrectPerLevel[l])
                             .arg(r.AskedPerLevel[l]));
                continue;
            }
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
        const bool tel = kind == &tReportWeek::telephone;
        const ExerciseKind exercise = tel ? ExerciseKind::Tel : ExerciseKind::Memo;
        const int top = reportSpanTop(exercise);
        tReportMode& m = (w->*kind)[r.Mode];
        ++m.count;
        // A length no sequence can have would stretch the scale past every real value.
        if (r.MaxLevel <= top) {
            m.maxLevel = m.levels == 0 ? r.MaxLevel : std::max<int>(m.maxLevel, r.MaxLevel);
            ++m.levels;
        } else {
            leaveOut(exercise, r.Stamp,
                     QStringLiteral("größte Länge %1 (möglich bis %2)").arg(r.MaxLevel).arg(top));
        }
        if (r.BestSpan == NoValue)
            return;
        if (r.BestSpan < 0 || r.BestSpan > top) {
            leaveOut(exercise, r.Stamp,
                     QStringLiteral("sicheres Ergebnis %1 (möglich 0 bis %2)")
                         .arg(r.BestSpan)
                         .arg(top));
            return;
        }
        ++m.spans;
        m.spanSum += r.BestSpan;
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

int reportSpanTop(ExerciseKind exercise)
{
    return exercise == ExerciseKind::Tel ? ReportTelTop : ReportMemoTop;
}

namespace {

template <typename Walk>
tProgressReport collectReport(const tUser& user, const DayRange& days, Walk walk)
{
    tProgressReport report;
    report.name = user.Name;
    report.days = days;
    WeekCollector collect;
    for (ExerciseKind kind : ReportPageOrder)
        walk(kind, collect, report.damaged);
    for (const auto& entry : collect.weeks)
        report.weeks.append(entry.second);
    report.undated = collect.undatedRecords;
    report.outOfRange = collect.outOfRange;
    return report;
}

} // namespace

tProgressReport buildProgressReport(const tUser& user, const DayRange& days)
{
    return collectReport(user, days,
                         [&](ExerciseKind kind, ResultVisitor& v, QList<DamagedLog>& d) {
                             walkStoredResults(user, kind, days, v, d);
                         });
}

tProgressReport buildProgressReport(const tProgramData& data, const tUser& user,
                                    const DayRange& days)
{
    return collectReport(user, days,
                         [&](ExerciseKind kind, ResultVisitor& v, QList<DamagedLog>& d) {
                             data.walkResults(user, kind, days, v, d);
                         });
}

QJsonObject progressReportJson(const tProgressReport& report)
{
    QJsonArray weeks;
    for (const tReportWeek& w : report.weeks)
        weeks.append(QJsonObject{{QStringLiteral("week"), w.label()},
                                 {QStringLiteral("word"), katJson(w.word)},
                                 {QStringLiteral("picture"), katJson(w.picture)},
                                 {QStringLiteral("telephone"), modesJson(w.telephone)},
                                 {QStringLiteral("memo"), modesJson(w.memo)}});
    auto texts = [](const QList<tReportLeftOut>& list) {
        QJsonArray array;
        for (const tReportLeftOut& item : list)
            array.append(item.text);
        return array;
    };
    return QJsonObject{{QStringLiteral("name"), report.name},
                       {QStringLiteral("complete"), report.complete()},
                       {QStringLiteral("weeks"), weeks},
                       {QStringLiteral("undated"), texts(report.undated)},
                       {QStringLiteral("outOfRange"), texts(report.outOfRange)}};
}

QString reportPeriodText(const DayRange& days)
{
    const bool from = days.first.isValid(), to = days.last.isValid();
    if (from && to)
        return formatShortDate(days.first) + QStringLiteral(" bis ") + formatShortDate(days.last);
    if (from)
        return QStringLiteral("ab ") + formatShortDate(days.first);
    if (to)
        return QStringLiteral("bis ") + formatShortDate(days.last);
    return QStringLiteral("alle Ergebnisse");
}

namespace {

QString weekLabel(const QDate& day)
{
    int year = 0;
    const int week = day.weekNumber(&year);
    return QStringLiteral("%1-W%2").arg(year).arg(week, 2, 10, QLatin1Char('0'));
}

QDate mondayOf(const QDate& day)
{
    return day.addDays(1 - day.dayOfWeek());
}

// Monday of an ISO week: the 4th of January always lies in week 1.
QDate mondayOf(int year, int week)
{
    return mondayOf(QDate(year, 1, 4)).addDays(7 * (week - 1));
}

} // namespace

QStringList reportWeekAxis(const tProgressReport& report)
{
    QDate first = report.days.first, last = report.days.last;
    if (!report.weeks.isEmpty()) {
        if (!first.isValid())
            first = mondayOf(report.weeks.first().year, report.weeks.first().week);
        if (!last.isValid())
            last = mondayOf(report.weeks.last().year, report.weeks.last().week);
    }
    QStringList weeks;
    if (!first.isValid() || !last.isValid())
        return weeks;
    for (QDate monday = mondayOf(first); monday <= last; monday = monday.addDays(7))
        weeks << weekLabel(monday);
    return weeks;
}

namespace {

const char* const ModeNames[3] = {"nur Hören", "nur Sehen", "Hören und Sehen"};

// The report's week of each week of the axis, null for a week without training.
using WeekSlots = QList<const tReportWeek*>;

WeekSlots weekSlots(const tProgressReport& report, const QStringList& axis)
{
    QHash<QString, const tReportWeek*> byLabel;
    for (const tReportWeek& w : report.weeks)
        byLabel.insert(w.label(), &w);
    WeekSlots found;
    for (const QString& label : axis)
        found << byLabel.value(label, nullptr);
    return found;
}

QList<tReportSeries> katSeries(const WeekSlots& weeks, tReportKat tReportWeek::*kind)
{
    static const char* const names[4] = {"Stufe I", "Stufe II", "Stufe III", "Stufe IV"};
    QList<tReportSeries> list;
    for (int l = 1; l <= 4; ++l) {
        tReportSeries s{QString::fromLatin1(names[l - 1]), {}};
        for (const tReportWeek* w : weeks)
            s.values << (w ? (w->*kind).percent(l) : std::nullopt);
        list << s;
    }
    return list;
}

// Per mode the weekly mean of the passed lengths, or the highest length reached.
QList<tReportSeries> seqSeries(const WeekSlots& weeks,
                               RangeArray<tReportMode, 1, 3> tReportWeek::*kind, bool mean)
{
    const tReportMode none;
    QList<tReportSeries> list;
    for (int m = 1; m <= 3; ++m) {
        tReportSeries s{QString::fromUtf8(ModeNames[m - 1]), {}};
        for (const tReportWeek* w : weeks) {
            const tReportMode& r = w ? (w->*kind)[m] : none;
            if (mean)
                s.values << r.meanSpan();
            else if (const auto level = r.highestLevel())
                s.values << std::optional<double>(*level);
            else
                s.values << std::nullopt;
        }
        list << s;
    }
    return list;
}

// The top of a length scale: room above the highest value, at least 10, at most what
// a record can hold.
double lengthScaleTop(const QList<tReportChart>& charts, int cap)
{
    double highest = 0;
    for (const tReportChart& c : charts)
        for (const tReportSeries& s : c.series)
            for (const auto& v : s.values)
                if (v)
                    highest = std::max(highest, *v);
    return std::min(double(cap), std::max(10.0, std::floor(highest) + 1));
}

} // namespace

tReportPage reportPage(const tProgressReport& report, ExerciseKind exercise)
{
    tReportPage page;
    page.exercise = exercise;
    page.weeks = reportWeekAxis(report);
    const WeekSlots weeks = weekSlots(report, page.weeks);

    if (!isSequence(exercise)) {
        const bool words = exercise == ExerciseKind::Wort;
        const auto kind = words ? &tReportWeek::word : &tReportWeek::picture;
        page.title = tips::areaName(exercise);
        page.charts << tReportChart{QStringLiteral("Richtige Antworten je Stufe (Prozent)"),
                                    katSeries(weeks, kind), 100, 20, QStringLiteral(" %")};
        QList<int> row;
        for (const tReportWeek* w : weeks)
            row << (w ? (w->*kind).count : 0);
        page.counts << qMakePair(QStringLiteral("Übungen"), row);
        page.note = QStringLiteral("Stufe I: das zuletzt gezeigte Wort oder Bild wurde abgefragt, "
                                   "II: das vorletzte, III: das drittletzte, IV: das viertletzte. "
                                   "Wochen ohne Übungen bleiben leer.");
    } else {
        const bool tel = exercise == ExerciseKind::Tel;
        const auto kind = tel ? &tReportWeek::telephone : &tReportWeek::memo;
        page.title = tips::areaName(exercise);
        page.charts << tReportChart{QStringLiteral("Sicheres Ergebnis (Mittel der Woche)"),
                                    seqSeries(weeks, kind, true), 0, 0, QString()}
                    << tReportChart{QStringLiteral("Größte erreichte Länge der Woche"),
                                    seqSeries(weeks, kind, false), 0, 0, QString()};
        // Both charts share one scale, so that their lines can be compared.
        const double yMax = lengthScaleTop(page.charts, tel ? ReportTelTop : ReportMemoTop);
        for (tReportChart& c : page.charts) {
            c.yMax = yMax;
            c.yStep = yMax > 12 ? 2 : 1;
        }
        for (int m = 1; m <= 3; ++m) {
            QList<int> row;
            for (const tReportWeek* w : weeks)
                row << (w ? (w->*kind)[m].count : 0);
            page.counts << qMakePair(QString::fromUtf8(ModeNames[m - 1]), row);
        }
        page.note =
            QStringLiteral("Sicheres Ergebnis: die größte Länge, bei der beide Aufgaben "
                           "eines Zweierblocks richtig waren. Länge: Anzahl der Ziffern oder "
                           "Ereignisse einer Folge. Wochen ohne Übungen bleiben leer.");
    }
    for (const auto& row : page.counts)
        for (int c : row.second)
            page.records += c;
    for (const QList<tReportLeftOut>* list : {&report.undated, &report.outOfRange})
        for (const tReportLeftOut& item : *list)
            if (item.exercise == exercise)
                page.leftOut << item.text;
    return page;
}

} // namespace gf
