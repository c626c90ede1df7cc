// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QTimeZone>

// The time zone in which the C library, and with it `date`, shows local time
// at this moment. Qt reads TZ as a zone name only: it takes a file path for an
// unknown name (and then UTC), and a POSIX rule such as UTC-5 (five hours
// ahead of UTC) for its own UTC-05:00 (five hours behind). Where Qt cannot
// name the zone the C library uses, this is the C library's present offset
// from UTC, without daylight-saving changes.
QTimeZone localTimeZone();
