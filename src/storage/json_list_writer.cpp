// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/json_list_writer.h"

#include "storage/hex_digit.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace JsonListWriter {

namespace {

constexpr char lowerHex[] = "0123456789abcdef";
constexpr char upperHex[] = "0123456789ABCDEF";

enum class Form { Json, SettingsValue };

template<qsizetype N>
char *copy(char *out, const char (&text)[N])
{
    return std::copy_n(text, N - 1, out);
}

// A fixed piece of the JSON text, given as it is and as QSettings escapes it
// (quotes preceded by a backslash); none of them starts with a hex digit, so
// they need no care after a numeric escape.
template<Form form, qsizetype N, qsizetype M>
char *piece(char *out, const char (&json)[N], const char (&escaped)[M])
{
    if constexpr (form == Form::Json)
        return copy(out, json);
    else
        return copy(out, escaped);
}

// Writes UTF-8 bytes of a title: in JSON as they are, in the settings form as
// QSettings escapes them (bytes beyond ASCII as "\xNN", after which hex digits
// are escaped too so that a reader does not take them into the number).
template<Form form>
struct TitleOutput {
    char *out;
    bool afterNumericEscape = false;

    void numericEscape(unsigned char byte)
    {
        *out++ = '\\';
        *out++ = 'x';
        *out++ = lowerHex[byte >> 4];
        *out++ = lowerHex[byte & 0xf];
    }

    // A printable ASCII character that JSON writes as it is.
    void plain(char16_t c)
    {
        if constexpr (form == Form::SettingsValue) {
            if (afterNumericEscape && isHexDigit(c))
                return numericEscape((unsigned char)c);
            afterNumericEscape = false;
        }
        *out++ = char(c);
    }

    // A JSON escape: a backslash and what follows it.
    template<qsizetype N>
    void jsonEscape(const char (&rest)[N])
    {
        *out++ = '\\';
        if constexpr (form == Form::SettingsValue) {
            *out++ = '\\';
            afterNumericEscape = false;
            if (rest[0] == '"' || rest[0] == '\\')
                *out++ = '\\';
        }
        out = copy(out, rest);
    }

    void nonAscii(unsigned char byte)
    {
        if constexpr (form == Form::SettingsValue) {
            numericEscape(byte);
            afterNumericEscape = true;
        } else {
            *out++ = char(byte);
        }
    }
};

template<Form form>
char *writeTitle(char *out, const QString &text)
{
    out = piece<form>(out, "\"", "\\\"");
    TitleOutput<form> o{out};
    const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = p + text.size();
    while (p < end) {
        // Plain printable ASCII, the bulk of most titles; in the settings form
        // only where no numeric escape came just before.
        if (!o.afterNumericEscape) {
            while (p < end && *p >= 0x20 && *p < 0x7f && *p != '"' && *p != '\\')
                *o.out++ = char(*p++);
            if (p == end)
                break;
        }
        char32_t c = *p++;
        if (c < 0x80) {
            switch (c) {
            case '"':
                o.jsonEscape("\"");
                continue;
            case '\\':
                o.jsonEscape("\\");
                continue;
            case '\n':
                o.jsonEscape("n");
                continue;
            case '\r':
                o.jsonEscape("r");
                continue;
            case '\t':
                o.jsonEscape("t");
                continue;
            }
            if (c < 0x20) {
                const char rest[] = {'u', '0', '0', lowerHex[c >> 4], lowerHex[c & 0xf], '\0'};
                o.jsonEscape(rest);
            } else if (c == 0x7f) {
                o.nonAscii(0x7f); // JSON writes it as it is; QSettings escapes it
            } else {
                o.plain(char16_t(c));
            }
            continue;
        }
        if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
            c = QChar::surrogateToUcs4(char16_t(c), *p++);
        else if (QChar::isSurrogate(c))
            c = QChar::ReplacementCharacter; // a lone half has no UTF-8 form
        if (c < 0x800) {
            o.nonAscii(0xc0 | (c >> 6));
        } else if (c < 0x10000) {
            o.nonAscii(0xe0 | (c >> 12));
            o.nonAscii(0x80 | ((c >> 6) & 0x3f));
        } else {
            o.nonAscii(0xf0 | (c >> 18));
            o.nonAscii(0x80 | ((c >> 12) & 0x3f));
            o.nonAscii(0x80 | ((c >> 6) & 0x3f));
        }
        o.nonAscii(0x80 | (c & 0x3f));
    }
    return piece<form>(o.out, "\"", "\\\"");
}

char *writeHex(char *out, quint64 value, int digits)
{
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        *out++ = upperHex[(value >> shift) & 0xf];
    return out;
}

// The UUID in its 36-character form with upper-case digits.
char *writeUuid(char *out, const QUuid &id)
{
    out = writeHex(out, id.data1, 8);
    *out++ = '-';
    out = writeHex(out, id.data2, 4);
    *out++ = '-';
    out = writeHex(out, id.data3, 4);
    *out++ = '-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            *out++ = '-';
        out = writeHex(out, id.data4[i], 2);
    }
    return out;
}

// The shortest text that reads back as the same double; none when the
// number is not finite.
char *writeNumber(char *out, double value)
{
    if (!std::isfinite(value))
        return nullptr;
    return std::to_chars(out, out + 32, value).ptr;
}

// Room for the worst case of one to-do: at most four characters for each
// byte of UTF-8, and three bytes for each UTF-16 unit (a JSON escape of a
// control character takes six).
template<Form form>
qsizetype itemCapacity(const TodoItem &item)
{
    constexpr qsizetype fixedPart = 2 * 80 + 36 + 2 * 32;
    const bool plainAscii = std::all_of(item.title.cbegin(), item.title.cend(),
                                        [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
    const int perUnit = plainAscii ? 4 : (form == Form::Json ? 6 : 12);
    return fixedPart + item.title.size() * perUnit;
}

// One to-do's object; null when a number is not finite.
template<Form form>
char *writeItem(char *o, const TodoItem &item)
{
    o = piece<form>(o, "{\"id\":\"", "{\\\"id\\\":\\\"");
    o = writeUuid(o, item.id);
    o = piece<form>(o, "\",\"title\":", "\\\",\\\"title\\\":");
    o = writeTitle<form>(o, item.title);
    if (item.isCompleted)
        o = piece<form>(o, ",\"isCompleted\":true", ",\\\"isCompleted\\\":true");
    else
        o = piece<form>(o, ",\"isCompleted\":false", ",\\\"isCompleted\\\":false");
    o = piece<form>(o, ",\"createdAt\":", ",\\\"createdAt\\\":");
    if (!(o = writeNumber(o, item.createdAt)))
        return nullptr;
    o = piece<form>(o, ",\"date\":", ",\\\"date\\\":");
    if (!(o = writeNumber(o, item.date)))
        return nullptr;
    *o++ = '}';
    return o;
}

// What comes before and after the objects. QSettings quotes a value that
// holds a comma: every non-empty list does.
template<Form form>
char *writeOpening(char *o, bool empty)
{
    if constexpr (form == Form::SettingsValue) {
        if (!empty)
            *o++ = '"';
        o = copy(o, "@ByteArray(");
    }
    *o++ = '[';
    return o;
}

template<Form form>
char *writeClosing(char *o, bool empty)
{
    *o++ = ']';
    if constexpr (form == Form::SettingsValue) {
        *o++ = ')';
        if (!empty)
            *o++ = '"';
    }
    return o;
}

template<Form form>
std::optional<QByteArray> write(const QList<TodoItem> &items)
{
    qsizetype capacity = 32;
    for (const TodoItem &item : items)
        capacity += itemCapacity<form>(item) + 1;
    QByteArray text(capacity, Qt::Uninitialized);
    char *o = writeOpening<form>(text.data(), items.isEmpty());
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i > 0)
            *o++ = ',';
        if (!(o = writeItem<form>(o, items.at(i))))
            return std::nullopt;
    }
    o = writeClosing<form>(o, items.isEmpty());
    text.truncate(o - text.constData());
    return text;
}

} // namespace

std::optional<QByteArray> json(const QList<TodoItem> &items)
{
    return write<Form::Json>(items);
}

std::optional<QByteArray> settingsValue(const QList<TodoItem> &items)
{
    return write<Form::SettingsValue>(items);
}

namespace {

// Equal to-dos; titles shared with the last list compare without reading.
bool sameItem(const TodoItem &a, const TodoItem &b)
{
    return a.id == b.id && a.isCompleted == b.isCompleted && a.createdAt == b.createdAt && a.date == b.date
        && (a.title.constData() == b.title.constData() ? a.title.size() == b.title.size() : a.title == b.title);
}

} // namespace

std::optional<QByteArray> SettingsValueWriter::write(const QList<TodoItem> &items)
{
    // The unchanged run at the start and the one at the end (which never
    // overlap): only what lies between them is written anew.
    const qsizetype count = items.size();
    const qsizetype lastCount = m_items.size();
    qsizetype head = 0;
    while (head < count && head < lastCount && sameItem(items.at(head), m_items.at(head)))
        ++head;
    qsizetype tail = 0;
    while (tail < count - head && tail < lastCount - head
           && sameItem(items.at(count - 1 - tail), m_items.at(lastCount - 1 - tail)))
        ++tail;

    qsizetype capacity = 32;
    for (qsizetype i = head; i < count - tail; ++i)
        capacity += itemCapacity<Form::SettingsValue>(items.at(i)) + 1;
    if (head > 0)
        capacity += m_spans.at(head - 1).end - m_spans.at(0).start + 1;
    if (tail > 0)
        capacity += m_spans.at(lastCount - 1).end - m_spans.at(lastCount - tail).start + 1;

    QByteArray text = std::move(m_spare);
    text.resize(capacity);
    QList<Span> spans;
    spans.reserve(count);
    char *const begin = text.data();
    char *o = writeOpening<Form::SettingsValue>(begin, items.isEmpty());
    const auto copyOld = [&](qsizetype from, qsizetype to) {
        const qsizetype shift = (o - begin) - m_spans.at(from).start;
        o = std::copy(m_text.constData() + m_spans.at(from).start, m_text.constData() + m_spans.at(to - 1).end, o);
        for (qsizetype i = from; i < to; ++i)
            spans.append(Span{m_spans.at(i).start + shift, m_spans.at(i).end + shift});
    };
    if (head > 0)
        copyOld(0, head);
    for (qsizetype i = head; i < count - tail; ++i) {
        if (i > 0)
            *o++ = ',';
        const qsizetype start = o - begin;
        if (!(o = writeItem<Form::SettingsValue>(o, items.at(i)))) {
            m_spare = std::move(text);
            return std::nullopt;
        }
        spans.append(Span{start, o - begin});
    }
    if (tail > 0) {
        if (count - tail > 0)
            *o++ = ',';
        copyOld(lastCount - tail, lastCount);
    }
    o = writeClosing<Form::SettingsValue>(o, items.isEmpty());
    text.truncate(o - begin);

    m_spare = std::move(m_text);
    m_text = std::move(text);
    m_spans = std::move(spans);
    m_items = items;
    return m_text;
}

} // namespace JsonListWriter
