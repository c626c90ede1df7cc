// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "commands/day_argument.h"

#include "model/day_calendar.h"

#include <QDate>
#include <QRegularExpression>

#include <variant>

namespace DayArgument {

namespace {

// Days from today, or a date.
using Day = std::variant<int, QDate>;

// Whitespace around the day (a line read by a script) is not part of it.
std::optional<Day> parse(const QString &given)
{
    const QString text = given.trimmed();
    const QString word = text.toLower();
    if (word == QLatin1String("today"))
        return Day(0);
    if (word == QLatin1String("yesterday"))
        return Day(-1);
    if (word == QLatin1String("tomorrow"))
        return Day(1);
    // Nine digits at most: a whole number of days that fits an int.
    static const QRegularExpression offset(QRegularExpression::anchoredPattern(QStringLiteral("[+-][0-9]{1,9}")));
    if (offset.match(text).hasMatch())
        return Day(text.toInt());
    static const QRegularExpression date(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]{4}-[0-9]{2}-[0-9]{2}")));
    if (date.match(text).hasMatch()) {
        const QDate parsed = QDate::fromString(text, Qt::ISODate);
        if (parsed.isValid())
            return Day(parsed);
    }
    return std::nullopt;
}

} // namespace

QString forms()
{
    return QStringLiteral("today, yesterday, tomorrow, YYYY-MM-DD, +N or -N");
}

bool isWellFormed(const QString &text)
{
    return parse(text).has_value();
}

std::optional<double> resolve(const QString &text, const DayCalendar &calendar, double now)
{
    const auto day = parse(text);
    if (!day)
        return std::nullopt;
    if (const QDate *date = std::get_if<QDate>(&*day))
        return calendar.startOfDate(*date);
    const auto today = calendar.startOfDay(now);
    if (!today)
        return std::nullopt;
    return calendar.addingDays(*today, std::get<int>(*day));
}

} // namespace DayArgument
