// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/json_list_reader.h"

#include "storage/hex_digit.h"

#include <QStringDecoder>
#include <QUuid>

#include <charconv>
#include <cmath>

namespace {

// Deeper values than this in a member that is skipped reject the text.
constexpr int maxSkippedDepth = 512;

// The length of the valid UTF-8 sequence at p (at most `available` bytes
// long), or 0 when it is not valid: overlong forms, surrogates and values
// beyond U+10FFFF are refused.
int utf8SequenceLength(const unsigned char *p, qsizetype available)
{
    const unsigned char lead = p[0];
    int length = 0;
    unsigned char min = 0x80, max = 0xbf;
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0)
            min = 0xa0;
        else if (lead == 0xed)
            max = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0)
            min = 0x90;
        else if (lead == 0xf4)
            max = 0x8f;
    } else {
        return 0;
    }
    if (available < length || p[1] < min || p[1] > max)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xbf)
            return 0;
    }
    return length;
}

void appendUtf8(QByteArray *out, char32_t c)
{
    if (c < 0x80) {
        out->append(char(c));
    } else if (c < 0x800) {
        out->append(char(0xc0 | (c >> 6)));
        out->append(char(0x80 | (c & 0x3f)));
    } else if (c < 0x10000) {
        out->append(char(0xe0 | (c >> 12)));
        out->append(char(0x80 | ((c >> 6) & 0x3f)));
        out->append(char(0x80 | (c & 0x3f)));
    } else {
        out->append(char(0xf0 | (c >> 18)));
        out->append(char(0x80 | ((c >> 12) & 0x3f)));
        out->append(char(0x80 | ((c >> 6) & 0x3f)));
        out->append(char(0x80 | (c & 0x3f)));
    }
}

// The UUID of a 36-character text with hyphens at 8, 13, 18 and 23.
std::optional<QUuid> parseUuid(QByteArrayView text)
{
    if (text.size() != 36)
        return std::nullopt;
    char bytes[16];
    int n = 0;
    for (qsizetype i = 0; i < 36;) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (text[i] != '-')
                return std::nullopt;
            ++i;
            continue;
        }
        const int high = hexDigitValue(text[i]);
        const int low = hexDigitValue(text[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[n++] = char(high * 16 + low);
        i += 2;
    }
    return QUuid::fromRfc4122(QByteArrayView(bytes, 16));
}

} // namespace

JsonListReader::JsonListReader(QByteArrayView json)
    : m_pos(json.data())
    , m_end(json.data() + json.size())
{
}

std::optional<QList<TodoItem>> JsonListReader::read()
{
    QList<TodoItem> items;
    skipWhiteSpace();
    if (!consume('['))
        return std::nullopt;
    skipWhiteSpace();
    if (!consume(']')) {
        do {
            skipWhiteSpace();
            TodoItem item;
            if (!readItem(&item))
                return std::nullopt;
            items.append(std::move(item));
            skipWhiteSpace();
        } while (consume(','));
        if (!consume(']'))
            return std::nullopt;
    }
    skipWhiteSpace();
    if (m_pos != m_end)
        return std::nullopt;
    return items;
}

bool JsonListReader::readItem(TodoItem *item)
{
    enum Member { Id = 1, Title = 2, IsCompleted = 4, CreatedAt = 8, Date = 16, All = 31 };
    int seen = 0;
    if (!consume('{'))
        return false;
    skipWhiteSpace();
    if (consume('}'))
        return false; // no members at all
    do {
        skipWhiteSpace();
        if (!readString(&m_scratch))
            return false;
        skipWhiteSpace();
        if (!consume(':'))
            return false;
        skipWhiteSpace();
        const QByteArray &key = m_scratch;
        if (key == "id") {
            QByteArray text;
            if (!readString(&text))
                return false;
            const auto id = parseUuid(text);
            if (!id)
                return false;
            item->id = *id;
            seen |= Id;
        } else if (key == "title") {
            QByteArray text;
            if (!readString(&text))
                return false;
            // QString::fromUtf8 drops a byte order mark at the start, which
            // here is a character of the title.
            item->title = text.startsWith("\xef\xbb\xbf")
                ? QString(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom)(text))
                : QString::fromUtf8(text);
            seen |= Title;
        } else if (key == "isCompleted") {
            if (!readBool(&item->isCompleted))
                return false;
            seen |= IsCompleted;
        } else if (key == "createdAt") {
            if (!readNumber(&item->createdAt))
                return false;
            seen |= CreatedAt;
        } else if (key == "date") {
            if (!readNumber(&item->date))
                return false;
            seen |= Date;
        } else if (!skipValue()) {
            return false;
        }
        skipWhiteSpace();
    } while (consume(','));
    return consume('}') && seen == All;
}

bool JsonListReader::readString(QByteArray *utf8)
{
    utf8->clear();
    if (!consume('"'))
        return false;
    while (m_pos < m_end) {
        // Copy the run of characters that need no attention at once.
        const char *run = m_pos;
        while (m_pos < m_end) {
            const auto c = static_cast<unsigned char>(*m_pos);
            if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80)
                break;
            ++m_pos;
        }
        utf8->append(run, m_pos - run);
        if (m_pos == m_end)
            return false;

        const auto c = static_cast<unsigned char>(*m_pos);
        if (c == '"') {
            ++m_pos;
            return true;
        }
        if (c < 0x20)
            return false; // control characters must be escaped
        if (c >= 0x80) {
            const int length = utf8SequenceLength(reinterpret_cast<const unsigned char *>(m_pos), m_end - m_pos);
            if (length == 0)
                return false;
            utf8->append(m_pos, length);
            m_pos += length;
            continue;
        }
        // A backslash escape.
        if (++m_pos == m_end)
            return false;
        const char escape = *m_pos++;
        switch (escape) {
        case '"':
            utf8->append('"');
            break;
        case '\\':
            utf8->append('\\');
            break;
        case '/':
            utf8->append('/');
            break;
        case 'b':
            utf8->append('\b');
            break;
        case 'f':
            utf8->append('\f');
            break;
        case 'n':
            utf8->append('\n');
            break;
        case 'r':
            utf8->append('\r');
            break;
        case 't':
            utf8->append('\t');
            break;
        case 'u': {
            const auto readUnit = [this](char32_t *unit) {
                if (m_end - m_pos < 4)
                    return false;
                *unit = 0;
                for (int i = 0; i < 4; ++i) {
                    const int digit = hexDigitValue(*m_pos++);
                    if (digit < 0)
                        return false;
                    *unit = *unit * 16 + char32_t(digit);
                }
                return true;
            };
            char32_t unit = 0;
            if (!readUnit(&unit))
                return false;
            if (QChar::isHighSurrogate(unit) && m_end - m_pos >= 6 && m_pos[0] == '\\' && m_pos[1] == 'u') {
                const char *next = m_pos;
                m_pos += 2;
                char32_t low = 0;
                if (!readUnit(&low))
                    return false;
                if (QChar::isLowSurrogate(low))
                    unit = QChar::surrogateToUcs4(char16_t(unit), char16_t(low));
                else
                    m_pos = next; // an escape of its own
            }
            // Half a pair (a broken emoji, say) is read as QJsonDocument
            // reads it: one character, which has no UTF-8 form and so
            // becomes U+FFFD.
            if (QChar::isSurrogate(unit)) {
                unit = QChar::ReplacementCharacter;
                m_replacedCharacters = true;
            }
            appendUtf8(utf8, unit);
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

bool JsonListReader::skipString()
{
    QByteArray ignored;
    return readString(&ignored);
}

bool JsonListReader::readNumber(double *number)
{
    const char *start = m_pos;
    const auto digits = [this] {
        const char *first = m_pos;
        while (m_pos < m_end && *m_pos >= '0' && *m_pos <= '9')
            ++m_pos;
        return m_pos - first;
    };
    consume('-');
    if (consume('0')) {
        // No leading zeros.
    } else if (digits() == 0) {
        return false;
    }
    if (consume('.') && digits() == 0)
        return false;
    if (m_pos < m_end && (*m_pos == 'e' || *m_pos == 'E')) {
        ++m_pos;
        if (!consume('+'))
            consume('-');
        if (digits() == 0)
            return false;
    }
    // The grammar is checked; from_chars finds the nearest double.
    const auto result = std::from_chars(start, m_pos, *number);
    return result.ec == std::errc() && result.ptr == m_pos && std::isfinite(*number);
}

bool JsonListReader::readBool(bool *value)
{
    if (readLiteral("true")) {
        *value = true;
        return true;
    }
    if (readLiteral("false")) {
        *value = false;
        return true;
    }
    return false;
}

bool JsonListReader::readLiteral(QByteArrayView literal)
{
    if (m_end - m_pos < literal.size() || QByteArrayView(m_pos, literal.size()) != literal)
        return false;
    m_pos += literal.size();
    return true;
}

bool JsonListReader::skipValue()
{
    // Containers are tracked by a stack of their closing characters, so that
    // deep nesting costs memory, not the call stack.
    QByteArray open;
    bool expectValue = true;
    while (true) {
        skipWhiteSpace();
        if (expectValue) {
            if (m_pos == m_end)
                return false;
            const char c = *m_pos;
            if (c == '[' || c == '{') {
                if (open.size() == maxSkippedDepth)
                    return false;
                ++m_pos;
                open.append(c == '[' ? ']' : '}');
                skipWhiteSpace();
                if (consume(open.back())) {
                    open.chop(1);
                    expectValue = false;
                } else if (c == '{') {
                    if (!skipString())
                        return false;
                    skipWhiteSpace();
                    if (!consume(':'))
                        return false;
                }
                if (open.isEmpty())
                    return true;
                continue;
            }
            double number;
            bool flag;
            const bool ok = c == '"'                   ? skipString()
                : (c == '-' || (c >= '0' && c <= '9')) ? readNumber(&number)
                : c == 'n'                             ? readLiteral("null")
                                                       : readBool(&flag);
            if (!ok)
                return false;
            expectValue = false;
        }
        if (open.isEmpty())
            return true;
        // After a value inside a container: a separator or its end.
        skipWhiteSpace();
        if (consume(',')) {
            if (open.back() == '}') {
                skipWhiteSpace();
                if (!skipString())
                    return false;
                skipWhiteSpace();
                if (!consume(':'))
                    return false;
            }
            expectValue = true;
        } else if (consume(open.back())) {
            open.chop(1);
            if (open.isEmpty())
                return true;
        } else {
            return false;
        }
    }
}

void JsonListReader::skipWhiteSpace()
{
    while (m_pos < m_end && (*m_pos == ' ' || *m_pos == '\n' || *m_pos == '\r' || *m_pos == '\t'))
        ++m_pos;
}

bool JsonListReader::consume(char c)
{
    if (m_pos < m_end && *m_pos == c) {
        ++m_pos;
        return true;
    }
    return false;
}
