// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

// Lengths of titles count characters as code points, a surrogate pair one,
// the same in the fields and on the command line.

// How many UTF-16 units of the text hold its first `max` characters: all of
// a shorter text, and no half of a surrogate pair at the cut.
inline qsizetype wholeCharactersWithin(const QString &text, qsizetype max)
{
    if (text.size() <= max)
        return text.size();
    qsizetype units = 0;
    for (qsizetype characters = 0; characters < max && units < text.size(); ++characters) {
        const bool pair =
            text.at(units).isHighSurrogate() && units + 1 < text.size() && text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return units;
}
