// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/todo_list_codec.h"

#include "storage/json_list_reader.h"
#include "storage/json_list_writer.h"

namespace TodoListCodec {

std::optional<QByteArray> encode(const QList<TodoItem> &items)
{
    return JsonListWriter::json(items);
}

std::optional<QList<TodoItem>> decode(const QByteArray &json, bool *inexact)
{
    JsonListReader reader(json);
    auto items = reader.read();
    if (inexact)
        *inexact = reader.replacedCharacters();
    return items;
}

} // namespace TodoListCodec
