// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/day_calendar.h"

#include "model/instant.h"
#include "model/local_time_zone.h"

#include <QDateTime>

DayCalendar::DayCalendar(const QTimeZone &zone, const QLocale &locale)
    : m_zone(zone.isValid() ? zone : QTimeZone::utc())
    , m_locale(locale)
{
}

DayCalendar DayCalendar::current()
{
    return DayCalendar(localTimeZone(), QLocale());
}

std::optional<QDate> DayCalendar::localDate(double instant) const
{
    const auto msecs = Instant::toUnixMsecs(instant);
    if (!msecs)
        return std::nullopt;
    const QDate date = QDateTime::fromMSecsSinceEpoch(*msecs, m_zone).date();
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<qint64> DayCalendar::firstMsecsOf(QDate date) const
{
    const QDateTime midnight = date.startOfDay(m_zone);
    if (!midnight.isValid())
        return std::nullopt; // a date the zone skipped, or one beyond the calendar
    qint64 first = midnight.toMSecsSinceEpoch();
    // Where the clocks fall back across midnight, local midnight happens twice
    // and Qt gives the later one; the date began at the earlier one, in the
    // offset in force before the change.
    const qint64 midnightAsUtc = date.startOfDay(QTimeZone::utc()).toMSecsSinceEpoch();
    for (int change = 0; change < 2; ++change) {
        const QDateTime justBefore = QDateTime::fromMSecsSinceEpoch(first - 1, m_zone);
        if (justBefore.date() != date)
            break;
        const qint64 earlier = midnightAsUtc - qint64(justBefore.offsetFromUtc()) * 1000;
        if (earlier >= first)
            break;
        first = earlier;
    }
    return first;
}

std::optional<DayCalendar::DateStart> DayCalendar::existingDateFrom(QDate date, int direction) const
{
    for (int skipped = 0; skipped <= maxMissingDates && date.isValid(); ++skipped) {
        if (const auto first = firstMsecsOf(date))
            return DateStart{date, *first};
        date = date.addDays(direction);
    }
    return std::nullopt;
}

std::optional<DayInterval> DayCalendar::dayInterval(QDate date) const
{
    const auto start = firstMsecsOf(date);
    const auto next = existingDateFrom(date.addDays(1), 1);
    if (!start || !next)
        return std::nullopt;
    return DayInterval{Instant::fromUnixMsecs(*start), Instant::fromUnixMsecs(next->firstMsecs)};
}

std::optional<DayInterval> DayCalendar::dayContaining(double instant) const
{
    const auto date = localDate(instant);
    if (!date)
        return std::nullopt;
    auto day = dayInterval(*date);
    // The conversion to milliseconds rounds; an instant within a rounding step
    // of midnight belongs to the neighbouring day.
    const auto neighbour = [&](int direction) {
        const auto other = existingDateFrom(date->addDays(direction), direction);
        return other ? dayInterval(other->date) : std::nullopt;
    };
    if (day && instant < day->start)
        day = neighbour(-1);
    else if (day && instant >= day->end)
        day = neighbour(1);
    return day;
}

std::optional<double> DayCalendar::startOfDay(double instant) const
{
    const auto day = dayContaining(instant);
    if (!day)
        return std::nullopt;
    return day->start;
}

std::optional<double> DayCalendar::startOfDate(QDate date) const
{
    const auto existing = existingDateFrom(date, 1);
    if (!existing || !Instant::isInCalendarRange(Instant::fromUnixMsecs(existing->firstMsecs)))
        return std::nullopt;
    return Instant::fromUnixMsecs(existing->firstMsecs);
}

bool DayCalendar::isSameDay(double a, double b) const
{
    const auto day = dayContaining(b);
    return day && day->contains(a);
}

std::optional<double> DayCalendar::addingDays(double instant, int days) const
{
    const auto day = dayContaining(instant);
    if (!day)
        return std::nullopt;
    double result = 0;
    if (instant == day->start) {
        // A date the zone skipped is stepped over.
        const auto target = existingDateFrom(localDate(instant)->addDays(days), days < 0 ? -1 : 1);
        if (!target)
            return std::nullopt;
        result = Instant::fromUnixMsecs(target->firstMsecs);
    } else {
        const qint64 msecs = *Instant::toUnixMsecs(instant);
        const QDateTime moved = QDateTime::fromMSecsSinceEpoch(msecs, m_zone).addDays(days);
        if (!moved.isValid())
            return std::nullopt;
        // Move by the whole milliseconds only, keeping the instant's fraction.
        result = instant + double(moved.toMSecsSinceEpoch() - msecs) / 1000.0;
    }
    if (!Instant::isInCalendarRange(result))
        return std::nullopt;
    return result;
}

DayCalendar::DayRelation DayCalendar::relationToToday(double instant, double now) const
{
    const auto today = localDate(now);
    const auto day = dayContaining(instant);
    if (!today || !day)
        return DayRelation::Other;
    const auto dayDate = localDate(day->start);
    if (!dayDate)
        return DayRelation::Other;
    if (*dayDate == *today)
        return DayRelation::Today;
    // The neighbours are the days one step away, past any date the zone skipped.
    const auto yesterday = existingDateFrom(today->addDays(-1), -1);
    if (yesterday && yesterday->date == *dayDate)
        return DayRelation::Yesterday;
    const auto tomorrow = existingDateFrom(today->addDays(1), 1);
    if (tomorrow && tomorrow->date == *dayDate)
        return DayRelation::Tomorrow;
    return DayRelation::Other;
}

bool DayCalendar::isInToday(double instant, double now) const
{
    return isSameDay(instant, now);
}

QString DayCalendar::dayLabel(double instant, double now) const
{
    const auto msecs = Instant::toUnixMsecs(instant);
    if (!msecs)
        return QString();
    QString pattern;
    switch (relationToToday(instant, now)) {
    case DayRelation::Today:
        pattern = QStringLiteral("'Today,' MMM d");
        break;
    case DayRelation::Yesterday:
        pattern = QStringLiteral("'Yesterday,' MMM d");
        break;
    case DayRelation::Tomorrow:
        pattern = QStringLiteral("'Tomorrow,' MMM d");
        break;
    case DayRelation::Other:
        pattern = QStringLiteral("dddd, MMM d");
        break;
    }
    return m_locale.toString(QDateTime::fromMSecsSinceEpoch(*msecs, m_zone), pattern);
}

QString DayCalendar::fullDayName(double instant, double now) const
{
    const auto date = localDate(instant);
    if (!date)
        return QString();
    const QString longDate = m_locale.toString(*date, QLocale::LongFormat);
    switch (relationToToday(instant, now)) {
    case DayRelation::Today:
        return QStringLiteral("Today, ") + longDate;
    case DayRelation::Yesterday:
        return QStringLiteral("Yesterday, ") + longDate;
    case DayRelation::Tomorrow:
        return QStringLiteral("Tomorrow, ") + longDate;
    case DayRelation::Other:
        break;
    }
    return longDate;
}

const DayCalendar &sharedCalendar()
{
    static const DayCalendar calendar = DayCalendar::current();
    return calendar;
}
