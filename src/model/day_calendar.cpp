#include "day_calendar.h"

#include "instant.h"

#include <QDateTime>

DayCalendar::DayCalendar(const QTimeZone &zone, const QLocale &locale)
    : m_zone(zone.isValid() ? zone : QTimeZone::utc())
    , m_locale(locale)
{
}

DayCalendar DayCalendar::current()
{
    return DayCalendar(QTimeZone::systemTimeZone(), QLocale());
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

std::optional<DayInterval> DayCalendar::dayInterval(QDate date) const
{
    const QDateTime start = date.startOfDay(m_zone);
    const QDateTime end = date.addDays(1).startOfDay(m_zone);
    if (!start.isValid() || !end.isValid())
        return std::nullopt;
    return DayInterval{Instant::fromUnixMsecs(start.toMSecsSinceEpoch()),
                       Instant::fromUnixMsecs(end.toMSecsSinceEpoch())};
}

std::optional<DayInterval> DayCalendar::dayContaining(double instant) const
{
    const auto date = localDate(instant);
    if (!date)
        return std::nullopt;
    auto day = dayInterval(*date);
    // The conversion to milliseconds rounds; an instant within a rounding step
    // of midnight belongs to the neighbouring day.
    if (day && instant < day->start)
        day = dayInterval(date->addDays(-1));
    else if (day && instant >= day->end)
        day = dayInterval(date->addDays(1));
    return day;
}

std::optional<double> DayCalendar::startOfDay(double instant) const
{
    const auto day = dayContaining(instant);
    if (!day)
        return std::nullopt;
    return day->start;
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
        const auto target = dayInterval(localDate(instant)->addDays(days));
        if (!target)
            return std::nullopt;
        result = target->start;
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
    switch (today->daysTo(*dayDate)) {
    case -1:
        return DayRelation::Yesterday;
    case 0:
        return DayRelation::Today;
    case 1:
        return DayRelation::Tomorrow;
    default:
        return DayRelation::Other;
    }
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

const DayCalendar &sharedCalendar()
{
    static const DayCalendar calendar = DayCalendar::current();
    return calendar;
}
