// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/settings_file_text.h"

#include "storage/hex_digit.h"

#include <QBuffer>
#include <QSet>

namespace {

const QByteArray generalHeader = QByteArrayLiteral("[General]");
const QByteArray byteArrayPrefix = QByteArrayLiteral("@ByteArray(");

bool isPlainKeyChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
        || c == '.';
}

bool isUpperHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

// Whether a key (or, without parts, a section name) is in the one form
// QSettings writes it: plain characters as they are, '/' as '\' between
// parts, every other character as %XX, or %UXXXX beyond Latin-1, in upper
// case. Another spelling of the same name would be read as the same key.
bool isEscapedName(QByteArrayView name, bool withParts)
{
    if (name.isEmpty() || name.front() == '\\' || name.back() == '\\' || name.contains("\\\\"))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (isPlainKeyChar(c) || (c == '\\' && withParts))
            continue;
        if (c != '%')
            return false;
        const bool wide = i + 1 < name.size() && name[i + 1] == 'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const int digits = wide ? 4 : 2;
        if (first + digits > name.size())
            return false;
        int value = 0;
        for (int d = 0; d < digits; ++d) {
            if (!isUpperHexDigit(name[first + d]))
                return false;
            value = value * 16 + hexDigitValue(name[first + d]);
        }
        if (wide ? value <= 0xff : (value == '/' || (value < 0x80 && isPlainKeyChar(char(value)))))
            return false;
        i = first + digits - 1;
    }
    return true;
}

// "[General]" or another section as QSettings writes its header. QSettings
// takes any case of "general" for the general section, and writes a
// section named so as "[%General]".
bool isSectionHeader(QByteArrayView line)
{
    const QByteArrayView name = line.sliced(1, line.size() - 2);
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return name == "General";
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return name == "%General";
    return isEscapedName(name, false);
}

// Whether QSettings reads the value as it stands on its line: quotes in
// pairs (a quote left open goes on into the next lines), no ';' outside
// them (which starts a comment), no backslash before the line's end (which
// joins the next line).
bool readsAsOneLine(QByteArrayView value)
{
    bool quoted = false;
    for (qsizetype i = 0; i < value.size(); ++i) {
        switch (value[i]) {
        case '\\':
            if (++i == value.size())
                return false;
            break;
        case '"':
            quoted = !quoted;
            break;
        case ';':
            if (!quoted)
                return false;
            break;
        default:
            break;
        }
    }
    return !quoted;
}

} // namespace

bool SettingsFileText::isPlainKey(QByteArrayView key)
{
    if (key.isEmpty())
        return false;
    for (char c : key) {
        if (!isPlainKeyChar(c))
            return false;
    }
    return true;
}

std::optional<SettingsFileText> SettingsFileText::parse(const QByteArray &text, QByteArrayView valueCheckedApart)
{
    SettingsFileText file;
    file.m_source = text;
    if (text.isEmpty())
        return file;
    if (!text.endsWith('\n') || text.contains('\r'))
        return std::nullopt;

    QSet<QByteArrayView> headers;
    QSet<QByteArrayView> sectionKeys;
    qsizetype pos = 0;
    bool afterBlank = false;
    while (pos < text.size()) {
        const qsizetype end = text.indexOf('\n', pos);
        const QByteArrayView line(text.constData() + pos, end - pos);
        pos = end + 1;
        if (line.isEmpty()) {
            // Only between sections, as QSettings writes them.
            if (afterBlank || file.m_sections.isEmpty() || pos >= text.size())
                return std::nullopt;
            afterBlank = true;
            continue;
        }
        if (line.startsWith('[')) {
            if (!line.endsWith(']') || (!file.m_sections.isEmpty() && !afterBlank) || !isSectionHeader(line))
                return std::nullopt;
            // A section met twice is read as one, its later keys winning.
            if (headers.contains(line))
                return std::nullopt;
            headers.insert(line);
            sectionKeys.clear();
            file.m_sections.append(Section{line.toByteArray(), {}});
            afterBlank = false;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (file.m_sections.isEmpty() || afterBlank || equals <= 0)
            return std::nullopt;
        const QByteArrayView key = line.first(equals);
        if (!isEscapedName(key, true) || sectionKeys.contains(key))
            return std::nullopt;
        sectionKeys.insert(key);
        // QSettings drops white space around values; it never writes any.
        const QByteArrayView value = line.sliced(equals + 1);
        if (!value.isEmpty()
            && (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t'))
            return std::nullopt;
        const bool checkedApart = key == valueCheckedApart && file.m_sections.last().header == generalHeader;
        if (!checkedApart && !readsAsOneLine(value))
            return std::nullopt;
        file.m_sections.last().lines.append(Line{QByteArray::fromRawData(line.data(), line.size()), equals});
    }
    return file;
}

const SettingsFileText::Section *SettingsFileText::generalSection() const
{
    for (const Section &section : m_sections) {
        if (section.header == generalHeader)
            return &section;
    }
    return nullptr;
}

SettingsFileText::Section *SettingsFileText::generalSection()
{
    return const_cast<Section *>(std::as_const(*this).generalSection());
}

std::optional<QByteArrayView> SettingsFileText::rawValue(QByteArrayView key) const
{
    const Section *general = generalSection();
    if (!general)
        return std::nullopt;
    for (const Line &line : general->lines) {
        if (line.keyLength == key.size() && line.text.startsWith(key))
            return QByteArrayView(line.text).sliced(line.keyLength + 1);
    }
    return std::nullopt;
}

void SettingsFileText::setRawValue(QByteArrayView key, const QByteArray &rawValue)
{
    Section *general = generalSection();
    if (!general) {
        m_sections.prepend(Section{generalHeader, {}});
        general = &m_sections.first();
    }
    Line newLine{key.toByteArray() + '=' + rawValue, key.size()};
    qsizetype insertAt = general->lines.size();
    for (qsizetype i = 0; i < general->lines.size(); ++i) {
        Line &line = general->lines[i];
        const QByteArrayView lineKey = QByteArrayView(line.text).first(line.keyLength);
        if (lineKey == key) {
            line = std::move(newLine);
            return;
        }
        if (insertAt == general->lines.size() && lineKey.compare(key) > 0)
            insertAt = i;
    }
    general->lines.insert(insertAt, std::move(newLine));
}

QByteArray SettingsFileText::text() const
{
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    writeTo(buffer);
    return text;
}

bool SettingsFileText::writeTo(QIODevice &device) const
{
    bool first = true;
    for (const Section &section : m_sections) {
        if (!first && device.write("\n", 1) != 1)
            return false;
        first = false;
        if (device.write(section.header) != section.header.size() || device.write("\n", 1) != 1)
            return false;
        for (const Line &line : section.lines) {
            if (device.write(line.text) != line.text.size() || device.write("\n", 1) != 1)
                return false;
        }
    }
    return true;
}

std::optional<QByteArray> SettingsFileText::decodeByteArray(QByteArrayView text)
{
    bool quoted = text.startsWith('"');
    if (quoted) {
        if (text.size() < 2 || !text.endsWith('"'))
            return std::nullopt;
        text = text.sliced(1, text.size() - 2);
    }
    if (!text.startsWith(byteArrayPrefix) || !text.endsWith(')'))
        return std::nullopt;
    text = text.sliced(byteArrayPrefix.size(), text.size() - byteArrayPrefix.size() - 1);

    QByteArray out(text.size(), Qt::Uninitialized);
    char *o = out.data();
    const char *p = text.data();
    const char *const end = p + text.size();
    while (p < end) {
        const char c = *p++;
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || byte < 0x20 || byte >= 0x7f)
            return std::nullopt; // QSettings never writes these raw
        if (!quoted && (c == ',' || c == ';' || c == '='))
            return std::nullopt; // outside quotes these mean something else
        if (c != '\\') {
            *o++ = c;
            continue;
        }
        if (p == end)
            return std::nullopt;
        const char escape = *p++;
        switch (escape) {
        case 'a':
            *o++ = '\a';
            break;
        case 'b':
            *o++ = '\b';
            break;
        case 'f':
            *o++ = '\f';
            break;
        case 'n':
            *o++ = '\n';
            break;
        case 'r':
            *o++ = '\r';
            break;
        case 't':
            *o++ = '\t';
            break;
        case 'v':
            *o++ = '\v';
            break;
        case '"':
        case '?':
        case '\'':
        case '\\':
            *o++ = escape;
            break;
        case 'x': {
            if (p == end || !isHexDigit(*p))
                return std::nullopt;
            int value = 0;
            while (p < end && isHexDigit(*p)) {
                value = value * 16 + hexDigitValue(*p++);
                if (value > 0xff)
                    return std::nullopt;
            }
            *o++ = char(value);
            break;
        }
        default:
            if (escape < '0' || escape > '7')
                return std::nullopt;
            int value = escape - '0';
            while (p < end && *p >= '0' && *p <= '7') {
                value = value * 8 + (*p++ - '0');
                if (value > 0xff)
                    return std::nullopt;
            }
            *o++ = char(value);
        }
    }
    out.truncate(o - out.constData());
    return out;
}
