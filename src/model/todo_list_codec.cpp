#include "todo_list_codec.h"

#include "json_list_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace TodoListCodec {

namespace {

constexpr char lowerHex[] = "0123456789abcdef";
constexpr char upperHex[] = "0123456789ABCDEF";

// Writes the title as a JSON string in UTF-8 and returns the end. Needs room
// for six bytes per UTF-16 unit ("\u001f") plus the quotes.
char *writeString(char *out, const QString &text)
{
    *out++ = '"';
    const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = p + text.size();
    while (p < end) {
        // Plain printable ASCII, the bulk of most titles.
        while (p < end && *p >= 0x20 && *p < 0x7f && *p != '"' && *p != '\\')
            *out++ = char(*p++);
        if (p == end)
            break;
        char32_t c = *p++;
        if (c < 0x80) {
            switch (c) {
            case '"':
                *out++ = '\\';
                *out++ = '"';
                continue;
            case '\\':
                *out++ = '\\';
                *out++ = '\\';
                continue;
            case '\n':
                *out++ = '\\';
                *out++ = 'n';
                continue;
            case '\r':
                *out++ = '\\';
                *out++ = 'r';
                continue;
            case '\t':
                *out++ = '\\';
                *out++ = 't';
                continue;
            }
            if (c < 0x20) {
                out = std::copy_n("\\u00", 4, out);
                *out++ = lowerHex[c >> 4];
                *out++ = lowerHex[c & 0xf];
            } else {
                *out++ = char(c);
            }
            continue;
        }
        if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
            c = QChar::surrogateToUcs4(char16_t(c), *p++);
        else if (QChar::isSurrogate(c))
            c = QChar::ReplacementCharacter; // a lone half has no UTF-8 form
        if (c < 0x800) {
            *out++ = char(0xc0 | (c >> 6));
        } else if (c < 0x10000) {
            *out++ = char(0xe0 | (c >> 12));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
        } else {
            *out++ = char(0xf0 | (c >> 18));
            *out++ = char(0x80 | ((c >> 12) & 0x3f));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
        }
        *out++ = char(0x80 | (c & 0x3f));
    }
    *out++ = '"';
    return out;
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

template<qsizetype N>
char *writeLiteral(char *out, const char (&text)[N])
{
    return std::copy_n(text, N - 1, out);
}

} // namespace

bool isUuidText(QStringView text)
{
    if (text.size() != 36)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-')
                return false;
        } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'))) {
            return false;
        }
    }
    return true;
}

std::optional<QByteArray> encode(const QList<TodoItem> &items)
{
    // Room for the worst case of every item, trimmed at the end: three bytes
    // of UTF-8 for each UTF-16 unit, six for a control character ("\u001f").
    constexpr qsizetype fixedPerItem = 64 + 36 + 2 * 32 + 8;
    qsizetype capacity = 2;
    for (const TodoItem &item : items) {
        const bool hasControl = std::any_of(item.title.cbegin(), item.title.cend(), [](QChar c) { return c.unicode() < 0x20; });
        capacity += fixedPerItem + item.title.size() * (hasControl ? 6 : 3) + 2;
    }
    QByteArray out(capacity, Qt::Uninitialized);
    char *o = out.data();
    *o++ = '[';
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TodoItem &item = items.at(i);
        if (i > 0)
            *o++ = ',';
        o = writeLiteral(o, "{\"id\":\"");
        o = writeUuid(o, item.id);
        o = writeLiteral(o, "\",\"title\":");
        o = writeString(o, item.title);
        o = item.isCompleted ? writeLiteral(o, ",\"isCompleted\":true") : writeLiteral(o, ",\"isCompleted\":false");
        o = writeLiteral(o, ",\"createdAt\":");
        if (!(o = writeNumber(o, item.createdAt)))
            return std::nullopt;
        o = writeLiteral(o, ",\"date\":");
        if (!(o = writeNumber(o, item.date)))
            return std::nullopt;
        *o++ = '}';
    }
    *o++ = ']';
    out.truncate(o - out.constData());
    return out;
}

std::optional<QList<TodoItem>> decode(const QByteArray &json)
{
    return JsonListReader(json).read();
}

} // namespace TodoListCodec
