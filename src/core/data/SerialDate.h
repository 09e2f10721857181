#pragma once

#include <QDate>
#include <QDateTime>

namespace gf {

// A calendar moment broken into its fields.
struct CivilTime
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
};

// A moment as the files store it: days since 30 December 1899 in local time, the
// fraction being the time of day. The double is kept as read so that a record
// written back is bit for bit what was loaded.
struct SerialDate
{
    double days = 0.0;

    static SerialDate fromDate(const QDate& date);
    static SerialDate fromDateTime(const QDateTime& moment);

    // Rounded to the nearest millisecond; invalid for values no calendar can hold.
    QDateTime toDateTime() const;
    QDate date() const;
    // The same rounding without QDateTime; false for values no calendar can hold.
    bool toCivil(CivilTime& out) const;

    bool operator==(const SerialDate&) const = default;
};

} // namespace gf
