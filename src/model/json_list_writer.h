#pragma once

#include "todo_item.h"

#include <QByteArray>
#include <QList>

#include <optional>

// Writes the list of to-dos as compact UTF-8 JSON: upper-case ids, numbers in
// the shortest form that reads back as the same double. None when a number is
// not finite, which JSON cannot hold.
namespace JsonListWriter {

std::optional<QByteArray> json(const QList<TodoItem> &items);

// The same JSON already in the form QSettings writes a byte array into its
// settings file ("@ByteArray(...)", escaped, quoted), made in one pass:
// equal to SettingsFileText::encodeByteArray(*json(items)), at the cost of
// writing the JSON alone. A list of many thousand to-dos is saved after every
// change, so this pass is most of the time a change takes.
std::optional<QByteArray> settingsValue(const QList<TodoItem> &items);

} // namespace JsonListWriter
