#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace gf {

// The program speaks German whatever the machine's locale: dates 05.03.2004, times
// 10:15:30, decimal comma.
QString formatShortDate(const QDate& date);
QString formatLongTime(const QTime& time);
// numerator / denominator x 100 with two decimals, halves rounded away from zero:
// 3 of 4 gives "75,00". The denominator must not be 0.
QString formatPercent(quint32 numerator, quint32 denominator);
// dd.mm.yyyy or d.m.yyyy (blanks around it ignored); nothing for impossible dates.
std::optional<QDate> parseShortDate(const QString& text);

} // namespace gf
