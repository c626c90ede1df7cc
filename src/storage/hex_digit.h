// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

// Hexadecimal digits, as the JSON and settings-file readers and writers
// meet them. A char beyond ASCII converts to a value that is no digit.

// The value of a hexadecimal digit of either case, or -1 for anything else.
constexpr int hexDigitValue(char32_t c)
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return int(c - 'A' + 10);
    return -1;
}

constexpr bool isHexDigit(char32_t c)
{
    return hexDigitValue(c) >= 0;
}
