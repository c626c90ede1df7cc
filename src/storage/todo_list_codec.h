// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The stored form of the list: one compact UTF-8 JSON array with an object per
// to-do, members "id", "title", "isCompleted", "createdAt" and "date".
namespace TodoListCodec {

// None when a number is not finite: it would not be JSON.
std::optional<QByteArray> encode(const QList<TodoItem> &items);

// Strict: the whole value is rejected at the first violation, never read in
// part. Every object must hold the five members with their JSON types, the id
// in the 36-character UUID form (either case); other members are ignored.
// Half a surrogate pair escaped in a string is read as U+FFFD, as any JSON
// reader that gives UTF-8 or shows the text does; *inexact, when given, then
// tells that the list does not hold exactly what was stored.
std::optional<QList<TodoItem>> decode(const QByteArray &json, bool *inexact = nullptr);

} // namespace TodoListCodec
