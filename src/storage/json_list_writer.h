// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QByteArray>
#include <QList>

#include <optional>

// Writes the list of to-dos as compact UTF-8 JSON: upper-case ids, numbers in
// the shortest form that reads back as the same double. None when a number is
// not finite, which JSON cannot hold.
namespace JsonListWriter {

std::optional<QByteArray> json(const QList<TodoItem> &items);

// The same JSON already in the form QSettings writes a byte array into its
// settings file ("@ByteArray(...)", escaped, quoted), made in one pass, at
// the cost of writing the JSON alone. A list of many thousand to-dos is saved after every
// change, so this pass is most of the time a change takes.
std::optional<QByteArray> settingsValue(const QList<TodoItem> &items);

// settingsValue for a list saved again and again: it keeps the text it wrote
// last and writes anew only the to-dos that differ from the last list
// between the unchanged ones at its start and at its end (an addition, a
// deletion, an undo, one to-do changed), copying the rest. A save after one
// change then costs little more than copying the text.
class SettingsValueWriter
{
public:
    std::optional<QByteArray> write(const QList<TodoItem> &items);

private:
    struct Span {
        qsizetype start = 0;
        qsizetype end = 0;
    };

    QList<TodoItem> m_items; // the list last written
    QList<Span> m_spans;     // where each of its to-dos stands in m_text
    QByteArray m_text;
    QByteArray m_spare; // the text before last, its memory reused
};

} // namespace JsonListWriter
