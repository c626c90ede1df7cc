// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "model/instant.h"

#include <QDateTime>
#include <QTimeZone>

// The instant of a local date and time in the zone.
inline double instantAt(const QTimeZone &zone, int year, int month, int day, int hour = 0, int minute = 0)
{
    const QDateTime local(QDate(year, month, day), QTime(hour, minute), zone);
    return Instant::fromUnixMsecs(local.toMSecsSinceEpoch());
}
