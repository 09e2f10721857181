#include "core/data/Formats.h"

#include <QRegularExpression>

namespace gf {

QString formatShortDate(const QDate& date)
{
    return QStringLiteral("%1.%2.%3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString formatLongTime(const QTime& time)
{
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QString formatPercent(quint32 numerator, quint32 denominator)
{
    Q_ASSERT(denominator != 0);
    // Hundredths of a percent, exactly, so 1 of 32 gives 3,13 and not 3,12.
    const quint64 hundredths =
        (quint64(numerator) * 20000 + denominator) / (2 * quint64(denominator));
    return QStringLiteral("%1,%2")
        .arg(hundredths / 100)
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

std::optional<QDate> parseShortDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(),
                     match.captured(1).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace gf
