#pragma once

#include "core/data/ResultWalk.h"

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace gf {

class tProgramData;

// The therapist's round: one row per detective of a data folder, who trained when, how
// much, and whether each work area is going up. Read from the stored logs only, and
// without repairing or locking anything, so it can run while trainees train.
enum class Trend
{
    Up,
    Level,
    Down,
    Few // either period has fewer than two exercises of the area, or nothing to compare
};

struct tOverviewRow
{
    QString name;
    QDate lastDay; // invalid: never trained (up to the reference day)
    int last7 = 0; // exercises of all four areas on the reference day and the six before
    int last28 = 0;
    std::array<Trend, 4> trend{Trend::Few, Trend::Few, Trend::Few, Trend::Few}; // ReportPageOrder
};

struct tOverview
{
    QDate to;                  // the reference day
    QList<tOverviewRow> rows;  // never trained first, then by last day, ties by name
    QList<DamagedLog> damaged; // user files and logs that could not be read to their end
    QStringList undated;       // records without a calendar date
    QStringList outOfRange;    // values no record can hold, left out as in the report

    bool complete() const { return damaged.isEmpty() && undated.isEmpty(); }
};

// A trend needs at least this many exercises of the area in each of the two periods,
// and a change of at least these sizes: percentage points of right answers (search),
// mean passed length (sequence).
inline constexpr int TrendMinExercises = 2;
inline constexpr double TrendSearchStep = 5.0;
inline constexpr double TrendSpanStep = 0.5;
// The two periods compared: the days ending on the reference day, and as many before.
inline constexpr int TrendPeriodDays = 28;

// Every detective of data's folder, as of the reference day `to`.
tOverview buildOverview(const tProgramData& data, const QDate& to);

// "up", "level", "down", "few" and the German "besser", "gleich", "schlechter",
// "zu wenige".
QString trendKey(Trend trend);
QString trendText(Trend trend);

// {"complete", "to", "detectives": [{"name", "lastDay", "last7", "last28", "trend"}]}.
QJsonObject overviewJson(const tOverview& overview);

} // namespace gf
