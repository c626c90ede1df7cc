// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// Reads the stored JSON array of to-dos in one pass, straight into TodoItem
// values, strictly: standard JSON (RFC 8259) in valid UTF-8, an array of
// objects each with "id" (a UUID in its 36-character form), "title",
// "isCompleted", "createdAt" and "date" of the right JSON types, finite
// numbers only, other members skipped. Any violation rejects the whole text,
// except half a surrogate pair escaped in a string: it reads as U+FFFD.
class JsonListReader
{
public:
    explicit JsonListReader(QByteArrayView json);

    std::optional<QList<TodoItem>> read();
    // Whether a string held half a surrogate pair, read as U+FFFD.
    bool replacedCharacters() const { return m_replacedCharacters; }

private:
    bool readItem(TodoItem *item);
    // A string into UTF-8 bytes (escapes decoded, encoding checked).
    bool readString(QByteArray *utf8);
    bool readNumber(double *number);
    bool readBool(bool *value);
    bool readLiteral(QByteArrayView literal);
    // Any JSON value, checked and thrown away, without recursion.
    bool skipValue();
    bool skipString();
    void skipWhiteSpace();
    bool consume(char c);

    const char *m_pos;
    const char *m_end;
    QByteArray m_scratch;
    bool m_replacedCharacters = false;
};
