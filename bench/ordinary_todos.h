// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QList>
#include <QUuid>

// A list as years of everyday use leave it: COUNT to-dos with titles of
// ordinary length, one in three completed, five a day. The first five are on
// firstDay (the start of a day, in seconds), each next five dayStep seconds
// on (negative: the days before).
inline QList<TodoItem> ordinaryTodos(int count, double firstDay, double dayStep)
{
    QList<TodoItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        TodoItem item;
        item.id = QUuid::createUuid();
        item.title = QStringLiteral("To-do number %1, with a title of ordinary length").arg(i);
        item.isCompleted = i % 3 == 0;
        item.date = firstDay + dayStep * (i / 5);
        item.createdAt = item.date + 60 * (i % 5);
        items.append(item);
    }
    return items;
}
