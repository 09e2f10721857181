#include "core/data/SerialDate.h"

#include <cmath>

namespace gf {

namespace {
constexpr qint64 MsPerDay = 86400000;
const QDate Epoch(1899, 12, 30);
// 1 January 100 .. 31 December 9999, the range the files' platform accepts.
constexpr double MinDays = -657434.0;
constexpr double MaxDays = 2958466.0;
constexpr qint64 EpochToUnixDays = 25569; // 30.12.1899 .. 1.1.1970

// Proleptic Gregorian calendar from days since 1 January 1970.
void civilFromDays(qint64 z, int& y, int& m, int& d)
{
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2 ? 1 : 0));
}

// Whole days and the rounded milliseconds of the day; negative values count the
// fraction forward from the midnight of their (earlier) day.
bool split(double days, qint64& whole, qint64& ms)
{
    if (!std::isfinite(days) || days <= MinDays || days >= MaxDays)
        return false;
    double w = std::trunc(days);
    ms = std::llround(std::fabs(days - w) * double(MsPerDay));
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        w += days < 0 ? -1.0 : 1.0;
    }
    whole = qint64(w);
    return true;
}
} // namespace

SerialDate SerialDate::fromDate(const QDate& date)
{
    return SerialDate{double(Epoch.daysTo(date))};
}

SerialDate SerialDate::fromDateTime(const QDateTime& moment)
{
    const double dayPart = double(Epoch.daysTo(moment.date()));
    const double timePart = double(moment.time().msecsSinceStartOfDay()) / double(MsPerDay);
    return SerialDate{dayPart >= 0 ? dayPart + timePart : dayPart - timePart};
}

QDateTime SerialDate::toDateTime() const
{
    qint64 whole = 0, ms = 0;
    if (!split(days, whole, ms))
        return {};
    return QDateTime(Epoch.addDays(whole), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate SerialDate::date() const
{
    qint64 whole = 0, ms = 0;
    if (!split(days, whole, ms))
        return {};
    return Epoch.addDays(whole);
}

bool SerialDate::toCivil(CivilTime& out) const
{
    qint64 whole = 0, ms = 0;
    if (!split(days, whole, ms))
        return false;
    civilFromDays(whole - EpochToUnixDays, out.year, out.month, out.day);
    out.hour = int(ms / 3600000);
    out.minute = int(ms / 60000 % 60);
    out.second = int(ms / 1000 % 60);
    out.msec = int(ms % 1000);
    return true;
}

} // namespace gf
