// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/day_calendar.h"

#include "support/model/test_instants.h"

#include <QScopeGuard>
#include <QTest>

#include <cmath>
#include <ctime>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QTimeZone newYork("America/New_York");
const QLocale usEnglish(QLocale::English, QLocale::UnitedStates);

DayCalendar newYorkCalendar()
{
    return DayCalendar(newYork, usEnglish);
}

} // namespace

class DayCalendarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labelsNameTheDayRelativeToToday_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDateTime>("day");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("label");
        // As a screen reader says it.
        QTest::addColumn<QString>("fullName");
        const auto at = [](int month, int day, int year = 2026, int hour = 0, int minute = 0) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute), newYork);
        };
        const QDateTime afternoon = at(12, 5, 2026, 15, 30); // Saturday
        QTest::newRow("today") << usEnglish << at(12, 5) << afternoon << u"Today, Dec 5"_s
                               << u"Today, Saturday, December 5, 2026"_s;
        QTest::newRow("yesterday") << usEnglish << at(12, 4) << afternoon << u"Yesterday, Dec 4"_s
                                   << u"Yesterday, Friday, December 4, 2026"_s;
        QTest::newRow("tomorrow") << usEnglish << at(12, 6) << afternoon << u"Tomorrow, Dec 6"_s
                                  << u"Tomorrow, Sunday, December 6, 2026"_s;
        QTest::newRow("later") << usEnglish << at(12, 7) << afternoon << u"Monday, Dec 7"_s
                               << u"Monday, December 7, 2026"_s;
        QTest::newRow("earlier") << usEnglish << at(12, 3) << afternoon << u"Thursday, Dec 3"_s
                                 << u"Thursday, December 3, 2026"_s;
        QTest::newRow("a week on") << usEnglish << at(12, 12) << afternoon << u"Saturday, Dec 12"_s
                                   << u"Saturday, December 12, 2026"_s;
        QTest::newRow("next year, never shown")
            << usEnglish << at(1, 1, 2027) << afternoon << u"Friday, Jan 1"_s << u"Friday, January 1, 2027"_s;
        QTest::newRow("a year back") << usEnglish << at(12, 5, 2025) << afternoon << u"Friday, Dec 5"_s
                                     << u"Friday, December 5, 2025"_s;
        QTest::newRow("late evening") << usEnglish << at(12, 5, 2026, 23, 59) << afternoon << u"Today, Dec 5"_s
                                      << u"Today, Saturday, December 5, 2026"_s;
        QTest::newRow("just after midnight") << usEnglish << at(12, 5) << at(12, 6, 2026, 0, 1) << u"Yesterday, Dec 5"_s
                                             << u"Yesterday, Saturday, December 5, 2026"_s;
        // The relative words stay as they are.
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("German") << german << at(12, 7) << afternoon << u"Montag, Dez. 7"_s
                                << u"Montag, 7. Dezember 2026"_s;
        QTest::newRow("German today") << german << at(12, 5) << afternoon << u"Today, Dez. 5"_s
                                      << u"Today, Samstag, 5. Dezember 2026"_s;
    }
    void labelsNameTheDayRelativeToToday()
    {
        QFETCH(QLocale, locale);
        QFETCH(QDateTime, day);
        QFETCH(QDateTime, now);
        const auto instant = [](const QDateTime &local) { return Instant::fromUnixMsecs(local.toMSecsSinceEpoch()); };
        const DayCalendar calendar(newYork, locale);
        QTEST(calendar.dayLabel(instant(day), instant(now)), "label");
        QTEST(calendar.fullDayName(instant(day), instant(now)), "fullName");
    }

    void stepsKeepTheLocalTimeOfDay_data()
    {
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<int>("days");
        QTest::addColumn<QDateTime>("to");
        const auto at = [](int year, int month, int day, int hour = 0, int minute = 0) {
            return QDateTime(QDate(year, month, day), QTime(hour, minute), newYork);
        };
        QTest::newRow("into the next year") << at(2026, 12, 31) << 1 << at(2027, 1, 1);
        QTest::newRow("back to a leap day") << at(2028, 3, 1) << -1 << at(2028, 2, 29);
        QTest::newRow("back to Feb 28") << at(2027, 3, 1) << -1 << at(2027, 2, 28);
        QTest::newRow("400 days") << at(2026, 12, 5) << 400 << at(2028, 1, 9);
        QTest::newRow("none") << at(2026, 12, 5) << 0 << at(2026, 12, 5);
        QTest::newRow("an evening over spring forward") << at(2026, 3, 7, 18, 45) << 1 << at(2026, 3, 8, 18, 45);
    }
    void stepsKeepTheLocalTimeOfDay()
    {
        QFETCH(QDateTime, from);
        QFETCH(int, days);
        QFETCH(QDateTime, to);
        const DayCalendar calendar = newYorkCalendar();
        const auto instant = [](const QDateTime &local) { return Instant::fromUnixMsecs(local.toMSecsSinceEpoch()); };
        QCOMPARE(calendar.addingDays(instant(from), days), instant(to));
        QCOMPARE(calendar.addingDays(instant(to), -days), instant(from));
        QCOMPARE(calendar.addingDays(instant(from) + 0.125, days), instant(to) + 0.125);
    }

    // Each day runs from its first instant up to, not including, the next
    // day's: ordinary days, days of 23 and 25 hours, and days whose midnight
    // is odd: it comes twice (clocks fall back from 01:00 to 00:00), it is
    // skipped (clocks jump from 24:00 to 01:00), or the whole date is (Samoa
    // went from Dec 29 to Dec 31, 2011).
    void daysAreHalfOpenFromTheirFirstInstant_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("start"); // UTC, to the hour
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("label");
        QTest::newRow("ordinary") << "America/New_York"_ba << u"2026-12-05T05"_s << u"2026-12-06T05"_s
                                  << u"Today, Dec 5"_s;
        QTest::newRow("23 hours") << "America/New_York"_ba << u"2026-03-08T05"_s << u"2026-03-09T04"_s
                                  << u"Today, Mar 8"_s;
        QTest::newRow("25 hours") << "America/New_York"_ba << u"2026-11-01T04"_s << u"2026-11-02T05"_s
                                  << u"Today, Nov 1"_s;
        QTest::newRow("midnight twice, Havana")
            << "America/Havana"_ba << u"2012-11-04T04"_s << u"2012-11-05T05"_s << u"Today, Nov 4"_s;
        QTest::newRow("midnight twice, Azores")
            << "Atlantic/Azores"_ba << u"2023-10-29T00"_s << u"2023-10-30T01"_s << u"Today, Oct 29"_s;
        QTest::newRow("no midnight, Santiago")
            << "America/Santiago"_ba << u"2026-09-06T04"_s << u"2026-09-07T03"_s << u"Today, Sep 6"_s;
        QTest::newRow("before a skipped date")
            << "Pacific/Apia"_ba << u"2011-12-29T10"_s << u"2011-12-30T10"_s << u"Today, Dec 29"_s;
        QTest::newRow("after a skipped date")
            << "Pacific/Apia"_ba << u"2011-12-30T10"_s << u"2011-12-31T10"_s << u"Today, Dec 31"_s;
    }
    void daysAreHalfOpenFromTheirFirstInstant()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, label);
        const DayCalendar calendar(QTimeZone(zone), usEnglish);
        QCOMPARE(calendar.timeZone().id(), zone);
        const auto instant = [](const QString &hour) {
            return Instant::fromUnixMsecs(QDateTime::fromString(hour + u":00:00Z"_s, Qt::ISODate).toMSecsSinceEpoch());
        };
        const double first = instant(start);
        const double next = instant(end);
        const double halfPast = first + 1800; // in the first hour, before any repeated midnight
        const auto day = calendar.dayContaining(halfPast).value();
        QCOMPARE(std::pair(day.start, day.end), std::pair(first, next));
        QVERIFY(day.contains(first) && !day.contains(next));
        QVERIFY(calendar.isSameDay(next - 0.001, first) && !calendar.isSameDay(next, first));
        QCOMPARE(calendar.startOfDay(first - 0.001), calendar.addingDays(first, -1).value());
        QCOMPARE(calendar.dayLabel(first, halfPast), label);
        // Steps pass over a skipped date, and the neighbours are named so.
        QCOMPARE(calendar.addingDays(first, 1), next);
        QCOMPARE(calendar.addingDays(next, -1), first);
        QVERIFY(calendar.dayLabel(next, halfPast).startsWith(u"Tomorrow,"_s));
        QVERIFY(calendar.dayLabel(first, next).startsWith(u"Yesterday,"_s));
    }

    // TZ as the C library reads it: a name, a file, a POSIX rule.
    void daysFollowTheCLibraryTimeZone_data()
    {
        QTest::addColumn<QByteArray>("tz");
        QTest::newRow("name") << QByteArray("Asia/Tokyo");
        QTest::newRow("colon and name") << QByteArray(":Asia/Tokyo");
        QTest::newRow("file") << QByteArray("/usr/share/zoneinfo/America/New_York");
        QTest::newRow("colon and file") << QByteArray(":/usr/share/zoneinfo/Europe/Berlin");
        QTest::newRow("link to a file") << QByteArray("/etc/localtime");
        QTest::newRow("POSIX offset, ahead of UTC") << QByteArray("UTC-5");
        QTest::newRow("POSIX rule with summer time") << QByteArray("ABC-3DEF,M3.5.0,M10.5.0/3");
        QTest::newRow("empty: UTC") << QByteArray("");
    }
    void daysFollowTheCLibraryTimeZone()
    {
        QFETCH(QByteArray, tz);
        const QByteArray testZone = qgetenv("TZ");
        const auto restore = qScopeGuard([&] {
            qputenv("TZ", testZone);
            tzset();
        });
        qputenv("TZ", tz);
        tzset();
        const QTimeZone zone = DayCalendar::current().timeZone();
        QVERIFY(zone.isValid());
        for (const QDateTime &at : {QDateTime(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc()),
                                    QDateTime(QDate(2026, 7, 15), QTime(12, 0), QTimeZone::utc())}) {
            const std::time_t time = at.toSecsSinceEpoch();
            std::tm local{};
            QVERIFY(localtime_r(&time, &local));
            QCOMPARE(zone.offsetFromUtc(at), int(local.tm_gmtoff));
        }
    }

    void instantsBelongToTheLocalDayThatContainsThem()
    {
        const DayCalendar calendar = newYorkCalendar();
        const double midnight = instantAt(newYork, 2026, 12, 5);
        QCOMPARE(calendar.startOfDay(instantAt(newYork, 2026, 12, 5, 13, 14)), midnight);
        QVERIFY(calendar.isSameDay(instantAt(QTimeZone("Asia/Tokyo"), 2026, 12, 6), midnight));
        // The day of 1970-01-01T00:00:00Z in New York is Dec 31, 1969.
        QCOMPARE(calendar.startOfDay(Instant::unixEpoch), instantAt(newYork, 1969, 12, 31));
    }

    void instantsOutsideAnyCalendarHaveNoDay()
    {
        const DayCalendar calendar = newYorkCalendar();
        const double today = instantAt(newYork, 2026, 12, 5);
        for (double wild : {1e300, -1e300, 1e13, std::numeric_limits<double>::infinity(), std::nan("")}) {
            QVERIFY(!calendar.dayContaining(wild));
            QVERIFY(!calendar.isSameDay(wild, today));
            QVERIFY(!calendar.isSameDay(today, wild));
            QVERIFY(!calendar.addingDays(wild, 1));
            QCOMPARE(calendar.relationToToday(wild, today), DayCalendar::DayRelation::Other);
            QVERIFY(calendar.dayLabel(wild, today).isEmpty());
        }
        // Stepping off the end of the calendar gives nothing instead of a wrap.
        QVERIFY(!calendar.addingDays(today, std::numeric_limits<int>::max()));
        QVERIFY(!calendar.addingDays(today, std::numeric_limits<int>::min()));
    }
};

QTEST_GUILESS_MAIN(DayCalendarTest)
#include "day_calendar_test.moc"
