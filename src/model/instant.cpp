// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/instant.h"

#include <chrono>
#include <cmath>

namespace Instant {

bool isInCalendarRange(double instant)
{
    return std::isfinite(instant) && std::abs(instant) <= maxMagnitude;
}

std::optional<qint64> toUnixMsecs(double instant)
{
    if (!isInCalendarRange(instant))
        return std::nullopt;
    return static_cast<qint64>(std::floor((instant + unixEpochOffset) * 1000.0));
}

double fromUnixMsecs(qint64 msecs)
{
    return static_cast<double>(msecs) / 1000.0 - unixEpochOffset;
}

double now()
{
    using namespace std::chrono;
    const auto sinceUnixEpoch = duration<double>(system_clock::now().time_since_epoch());
    return sinceUnixEpoch.count() - unixEpochOffset;
}

} // namespace Instant
