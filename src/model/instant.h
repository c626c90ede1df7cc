// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <optional>

// An instant is a double of seconds since 2001-01-01T00:00:00Z, the form in
// which the stored list holds every date. Conversions to and from Unix time
// happen here and nowhere else.
namespace Instant {

// Seconds from 1970-01-01T00:00:00Z to 2001-01-01T00:00:00Z.
inline constexpr double unixEpochOffset = 978307200.0;

// The instant 1970-01-01T00:00:00Z.
inline constexpr double unixEpoch = -unixEpochOffset;

// Instants further than this from the reference date (about 31,700 years)
// are outside any calendar this program works with: they have no day.
inline constexpr double maxMagnitude = 1e12;

// Whether the instant can be placed in a calendar (finite and in range).
bool isInCalendarRange(double instant);

// Milliseconds since the Unix epoch, rounded down; none when out of range.
std::optional<qint64> toUnixMsecs(double instant);

double fromUnixMsecs(qint64 msecs);

// The current instant, with the system clock's full precision.
double now();

} // namespace Instant
