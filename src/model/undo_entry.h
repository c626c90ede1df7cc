// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

// The record of one deletion: the to-do as it was, where it stood in the whole
// list, and the day that was shown, which decides when it can be undone.
struct UndoEntry {
    TodoItem item;
    qint64 index = 0;
    double date = 0;

    friend bool operator==(const UndoEntry &, const UndoEntry &) = default;
};

Q_DECLARE_METATYPE(UndoEntry)
