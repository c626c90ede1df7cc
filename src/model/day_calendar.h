// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTimeZone>

#include <optional>

// A calendar day as the half-open interval of instants [start, end) in one
// time zone: testing an instant against it takes two comparisons.
struct DayInterval {
    double start = 0;
    double end = 0;

    bool contains(double instant) const { return start <= instant && instant < end; }
};

// Answers every question about days that the program asks: which day an
// instant lies in, stepping between days, and the label of a day. It works in
// one fixed time zone and locale, so its answers never change under it.
class DayCalendar
{
public:
    DayCalendar(const QTimeZone &zone, const QLocale &locale);

    // The local time zone (that of the C library) and the application's
    // default locale, as they are now.
    static DayCalendar current();

    const QTimeZone &timeZone() const { return m_zone; }

    // The day that contains the instant; none for an instant outside any
    // calendar (not finite, or tens of thousands of years away).
    std::optional<DayInterval> dayContaining(double instant) const;
    std::optional<double> startOfDay(double instant) const;
    // The first instant of the local date; of the next date for one the zone
    // skipped. None beyond the calendar.
    std::optional<double> startOfDate(QDate date) const;
    bool isSameDay(double a, double b) const;

    // The instant the given number of calendar days later (earlier when
    // negative). The local time of day is kept where it exists; an instant at
    // the start of its day lands on the start of the target day, also where
    // daylight saving skips local midnight, and past a date the zone skipped.
    // None when there is no such day.
    std::optional<double> addingDays(double instant, int days) const;

    enum class DayRelation { Yesterday, Today, Tomorrow, Other };
    // Where the instant's day lies relative to the day that contains `now`.
    DayRelation relationToToday(double instant, double now) const;
    bool isInToday(double instant, double now) const;

    // "Today, Dec 5", "Yesterday, Dec 4", "Tomorrow, Dec 6" or
    // "Monday, Dec 7", with the month and weekday names of the locale.
    QString dayLabel(double instant, double now) const;
    // The day in full, as a screen reader says it: "Today, Monday, December
    // 7, 2026" (Yesterday and Tomorrow likewise), or the date alone for other
    // days, in the locale's long date format.
    QString fullDayName(double instant, double now) const;

private:
    // Zones have skipped at most one whole date at a time.
    static constexpr int maxMissingDates = 2;

    std::optional<QDate> localDate(double instant) const;
    // The first instant whose local date is the date; none for a date the
    // zone skipped.
    std::optional<qint64> firstMsecsOf(QDate date) const;
    struct DateStart {
        QDate date;
        qint64 firstMsecs;
    };
    // The date, or the first one after it in the direction (+1 or -1) that the
    // zone did not skip, with its first instant.
    std::optional<DateStart> existingDateFrom(QDate date, int direction) const;
    std::optional<DayInterval> dayInterval(QDate date) const;

    QTimeZone m_zone;
    QLocale m_locale;
};

// The calendar of the user's time zone and locale, taken at its first use and
// kept unchanged until the process ends: a later change of the system's time
// zone does not move the days under the list that is already shown.
const DayCalendar &sharedCalendar();
