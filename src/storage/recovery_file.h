// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QList>
#include <QString>

#include <optional>

// Where the whole list goes when it cannot be saved at quit: a settings file
// of its own, unsaved-<UTC time>.conf, in $XDG_STATE_HOME/marlowick
// (~/.local/state/marlowick by default). It holds the list under the same
// key and in the same form as the user's settings file, so copying it over
// that file (with the program stopped) brings the list back.
namespace RecoveryFile {

QString folder();

// The path of the new file, or none with the reason in *error.
std::optional<QString> write(const QString &key, const QList<TodoItem> &items, QString *error);

} // namespace RecoveryFile
