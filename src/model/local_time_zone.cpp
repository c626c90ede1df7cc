// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/local_time_zone.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <ctime>
#include <initializer_list>
#include <optional>

Q_LOGGING_CATEGORY(lcTimeZone, "marlowick.timezone")

namespace {

// The zone that TZ names, as Qt can read it: ":" dropped, a file of the zone
// database (also through links such as /etc/localtime) by its id.
QTimeZone zoneNamedByTz(QByteArray tz)
{
    if (tz.startsWith(':'))
        tz.remove(0, 1);
    if (tz.startsWith('/')) {
        const QString file = QFileInfo(QFile::decodeName(tz)).canonicalFilePath();
        const QString folder = QStringLiteral("/zoneinfo/");
        const qsizetype at = file.lastIndexOf(folder);
        if (at < 0)
            return {};
        QString id = file.mid(at + folder.size());
        if (id.startsWith(QStringLiteral("posix/")))
            id.remove(0, 6);
        tz = id.toUtf8();
    }
    // Qt reads a POSIX rule too, but takes one with no summer time such as
    // UTC-5 for its own UTC offset, of the opposite sign.
    return tz.isEmpty() ? QTimeZone() : QTimeZone(tz);
}

std::optional<int> libcOffsetFromUtc(qint64 secsSinceEpoch)
{
    const std::time_t time = secsSinceEpoch;
    std::tm local{};
    if (!localtime_r(&time, &local))
        return std::nullopt;
    return int(local.tm_gmtoff);
}

// Now and half a year either side, so that a daylight-saving rule is seen.
constexpr qint64 halfYear = 182 * 86400;

bool agreesWithLibc(const QTimeZone &zone, qint64 now)
{
    for (const qint64 at : {now - halfYear, now, now + halfYear}) {
        const auto libc = libcOffsetFromUtc(at);
        if (!libc || zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(at, QTimeZone::utc())) != *libc)
            return false;
    }
    return true;
}

} // namespace

QTimeZone localTimeZone()
{
    tzset();
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const QTimeZone named =
        qEnvironmentVariableIsSet("TZ") ? zoneNamedByTz(qgetenv("TZ")) : QTimeZone::systemTimeZone();
    if (named.isValid() && agreesWithLibc(named, now))
        return named;

    const int offset = libcOffsetFromUtc(now).value_or(0);
    const bool changes = libcOffsetFromUtc(now - halfYear) != offset || libcOffsetFromUtc(now + halfYear) != offset;
    if (changes) {
        qCWarning(lcTimeZone,
                  "The time zone (TZ=%s) is not one Qt can read; days follow the present offset from "
                  "UTC, %+d s, without its daylight-saving changes.",
                  qgetenv("TZ").constData(), offset);
    }
    return QTimeZone(offset);
}
