#pragma once

#include "core/data/Records.h"
#include "core/data/ResultWalk.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace gf {

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
    int maxLevel = 0;

    // Mean passed length of the records that have one.
    std::optional<double> meanSpan() const;
    // Highest length reached; nothing without records.
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

struct tProgressReport
{
    QString name;
    DayRange days;
    QList<tReportWeek> weeks;  // oldest first; only weeks with at least one record
    QList<DamagedLog> damaged; // logs that could not be read to their end

    bool complete() const { return damaged.isEmpty(); }
};

// Walks the detective's stored logs of all four kinds within days.
tProgressReport BuildProgressReport(const tUser& user, const DayRange& days);

// {"name", "complete", "weeks": [{"week", "word", "picture", "telephone", "memo"}]}.
QJsonObject ProgressReportJson(const tProgressReport& report);

// "20.01.2004 bis 05.02.2004", "ab 20.01.2004", "bis 05.02.2004" or "alle Ergebnisse".
QString ReportPeriodText(const DayRange& days);

} // namespace gf
