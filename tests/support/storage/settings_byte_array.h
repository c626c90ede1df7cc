// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/hex_digit.h"

#include <QByteArray>
#include <QByteArrayView>

// The value text QSettings writes for a byte array into its settings file on
// Linux, written plainly, one byte at a time: what the program's own one-pass
// writer and its reader are checked against.
inline QByteArray settingsByteArrayText(QByteArrayView bytes)
{
    static constexpr char hex[] = "0123456789abcdef";
    QByteArray out = QByteArrayLiteral("@ByteArray(");
    bool needsQuotes = false;
    // After a numeric escape hex digits are escaped too, or a reader would
    // take them as part of the number.
    bool afterNumericEscape = false;
    const auto numericEscape = [&](unsigned char byte, bool twoDigits) {
        out += "\\x";
        if (twoDigits || byte >= 0x10)
            out += hex[byte >> 4];
        out += hex[byte & 0xf];
        afterNumericEscape = true;
    };
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (afterNumericEscape && isHexDigit(byte)) {
            numericEscape(byte, true);
            continue;
        }
        afterNumericEscape = false;
        switch (c) {
        case '\0':
            out += "\\0";
            afterNumericEscape = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += c;
            break;
        case ';':
        case ',':
        case '=':
            needsQuotes = true;
            out += c;
            break;
        default:
            if (byte >= 0x20 && byte < 0x7f)
                out += c;
            else
                numericEscape(byte, false);
        }
    }
    out += ')';
    return needsQuotes ? '"' + out + '"' : out;
}
