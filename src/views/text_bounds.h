// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

// How many of the first `max` UTF-16 units of the text hold whole characters:
// all of a shorter text, and no half of a surrogate pair at the cut.
inline qsizetype wholeCharactersWithin(const QString &text, qsizetype max)
{
    if (text.size() <= max)
        return text.size();
    if (max > 0 && text.at(max - 1).isHighSurrogate())
        return max - 1;
    return qMax<qsizetype>(max, 0);
}
