#include "json_list_writer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace JsonListWriter {

namespace {

constexpr char lowerHex[] = "0123456789abcdef";
constexpr char upperHex[] = "0123456789ABCDEF";

enum class Form { Json, SettingsValue };

bool isHexDigit(char16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

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
            case '"': o.jsonEscape("\""); continue;
            case '\\': o.jsonEscape("\\"); continue;
            case '\n': o.jsonEscape("n"); continue;
            case '\r': o.jsonEscape("r"); continue;
            case '\t': o.jsonEscape("t"); continue;
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

template<Form form>
std::optional<QByteArray> write(const QList<TodoItem> &items)
{
    // Room for the worst case of every item, trimmed at the end: at most four
    // characters for each byte of UTF-8, and three bytes for each UTF-16 unit
    // (a JSON escape of a control character takes six).
    constexpr qsizetype fixedPerItem = 2 * 80 + 36 + 2 * 32;
    qsizetype capacity = 32;
    for (const TodoItem &item : items) {
        const bool plainAscii = std::all_of(item.title.cbegin(), item.title.cend(),
                                            [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; });
        const int perUnit = plainAscii ? 4 : (form == Form::Json ? 6 : 12);
        capacity += fixedPerItem + item.title.size() * perUnit;
    }
    QByteArray text(capacity, Qt::Uninitialized);
    char *o = text.data();
    // QSettings quotes a value that holds a comma: every non-empty list does.
    const bool quoted = form == Form::SettingsValue && !items.isEmpty();
    if (quoted)
        *o++ = '"';
    if constexpr (form == Form::SettingsValue)
        o = copy(o, "@ByteArray(");
    *o++ = '[';
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TodoItem &item = items.at(i);
        if (i > 0)
            *o++ = ',';
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
            return std::nullopt;
        o = piece<form>(o, ",\"date\":", ",\\\"date\\\":");
        if (!(o = writeNumber(o, item.date)))
            return std::nullopt;
        *o++ = '}';
    }
    *o++ = ']';
    if constexpr (form == Form::SettingsValue)
        *o++ = ')';
    if (quoted)
        *o++ = '"';
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

} // namespace JsonListWriter
