#include "data/SerialDate.h"

#include <cmath>

namespace gf {

namespace {
constexpr qint64 MsPerDay = 86400000;
const QDate Epoch(1899, 12, 30);
// 1 January 100 .. 31 December 9999, the range the files' platform accepts.
constexpr double MinDays = -657434.0;
constexpr double MaxDays = 2958466.0;
} // namespace

SerialDate SerialDate::fromDate(const QDate& date)
{
    return SerialDate{double(Epoch.daysTo(date))};
}

SerialDate SerialDate::fromDateTime(const QDateTime& moment)
{
    const QDate d = moment.date();
    const double dayPart = double(Epoch.daysTo(d));
    const double timePart = double(moment.time().msecsSinceStartOfDay()) / double(MsPerDay);
    // Before the epoch the fraction still counts forward from midnight.
    return SerialDate{dayPart >= 0 ? dayPart + timePart : dayPart - timePart};
}

QDateTime SerialDate::toDateTime() const
{
    if (!std::isfinite(days) || days <= MinDays || days >= MaxDays)
        return {};
    double whole = std::trunc(days);
    qint64 ms = std::llround(std::fabs(days - whole) * double(MsPerDay));
    if (ms >= MsPerDay) {
        ms -= MsPerDay;
        whole += days < 0 ? -1.0 : 1.0;
    }
    return QDateTime(Epoch.addDays(qint64(whole)), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate SerialDate::date() const
{
    return toDateTime().date();
}

} // namespace gf
