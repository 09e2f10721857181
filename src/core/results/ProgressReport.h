#pragma once

#include "core/data/Records.h"
#include "core/data/ResultWalk.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QStringList>
#include <QString>

#include <optional>

namespace gf {

class tProgramData;

// The course of a detective's training, week by week, for a therapist: per ISO calendar
// week the share of right answers per level of the two search exercises and, per mode,
// the lengths reached in the two sequence exercises. Read from the stored logs only.
struct tReportKat
{
    int count = 0; // records of the week
    RangeArray<qint64, 1, 4> asked{};
    RangeArray<qint64, 1, 4> right{};

    // 100 x right / asked of level l; nothing where no item of that level was asked.
    std::optional<double> percent(int l) const;
};

struct tReportMode
{
    int count = 0; // records of this mode in the week
    int spans = 0; // those with a passed length
    qint64 spanSum = 0;
    int levels = 0; // those with a length within range
    int maxLevel = 0;

    // Mean passed length of the records that have one.
    std::optional<double> meanSpan() const;
    // Highest length reached; nothing without records (or none within range).
    std::optional<int> highestLevel() const;
};

struct tReportWeek
{
    int year = 0; // ISO year, which may differ from the calendar year around New Year
    int week = 0;
    tReportKat word;
    tReportKat picture;
    RangeArray<tReportMode, 1, 3> telephone{};
    RangeArray<tReportMode, 1, 3> memo{};

    QString label() const; // "2004-W10"
};

// A record, or one value of it, the charts leave out.
struct tReportLeftOut
{
    ExerciseKind exercise;
    QString text; // German
};

struct tProgressReport
{
    QString name;
    DayRange days;
    QList<tReportWeek> weeks;  // oldest first; only weeks with at least one record
    QList<DamagedLog> damaged; // logs that could not be read to their end
    QList<tReportLeftOut> undated;    // records without a calendar date: not in any week
    QList<tReportLeftOut> outOfRange; // values no record can hold: left out of the charts

    bool complete() const { return damaged.isEmpty() && undated.isEmpty(); }
};

// What a record can hold: the longest telephone number and memo sequence.
inline constexpr int ReportTelTop = 15;
inline constexpr int ReportMemoTop = 20;

// Walks the detective's stored logs of all four kinds within days.
tProgressReport buildProgressReport(const tUser& user, const DayRange& days);
// The same with the records of the running session that are not stored yet, when user
// is the detective logged in.
tProgressReport buildProgressReport(const tProgramData& data, const tUser& user,
                                    const DayRange& days);

// The top of what a record of a sequence exercise can hold; longer is impossible.
int reportSpanTop(ExerciseKind exercise);

// {"name", "complete", "weeks": [{"week", "word", "picture", "telephone", "memo"}],
//  "undated": [...], "outOfRange": [...]}.
QJsonObject progressReportJson(const tProgressReport& report);

// What one page of the report shows, worked out before anything is drawn: the page's
// charts with their series (a value per week, or none where the line breaks) and the
// counts beneath them. The drawing adds line styles and markers by a series' place.
struct tReportSeries
{
    QString name; // "Stufe I", "nur Hören", ...
    QList<std::optional<double>> values;
};

struct tReportChart
{
    QString title;
    QList<tReportSeries> series;
    double yMax = 100; // the value scale runs from 0 to yMax in steps of yStep
    double yStep = 20;
    QString unit; // after each scale value: " %" or nothing
};

struct tReportPage
{
    ExerciseKind exercise = ExerciseKind::Wort;
    QString title;     // "Wort-Fahndung"
    // Every calendar week of the period, "2004-W10", ...: a week without training is
    // there too, without values, so that the lines break instead of falling to zero.
    QStringList weeks;
    QList<tReportChart> charts;                // one for a search, two for a sequence
    QList<QPair<QString, QList<int>>> counts; // exercises per week: one row, or one per mode
    int records = 0;                           // all counts summed
    QString note;                              // the explanation at the foot
    QStringList leftOut; // this exercise's undated records and impossible values
};

// The calendar weeks the pages show: from the period's first day (or the first week with
// a record) to its last day (or the last week with a record).
QStringList reportWeekAxis(const tProgressReport& report);

// The pages in their order: word search, picture search, telephone, memo.
inline constexpr ExerciseKind ReportPageOrder[] = {ExerciseKind::Wort, ExerciseKind::Bild,
                                                   ExerciseKind::Tel, ExerciseKind::Memo};
tReportPage reportPage(const tProgressReport& report, ExerciseKind exercise);

// "20.01.2004 bis 05.02.2004", "ab 20.01.2004", "bis 05.02.2004" or "alle Ergebnisse".
QString reportPeriodText(const DayRange& days);

} // namespace gf
