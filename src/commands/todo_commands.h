// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

class TodoStore;

// The commands that read or change the list (add, list, count), carried out
// on a store: the running program's own, whose open panel then shows the
// change, or one the command line opened itself. Days are named from the
// store's clock, in the shared calendar.
namespace TodoCommands {

// Why the title cannot be added (blank, or longer than a field takes), or
// empty when it can.
QString titleProblem(const QString &title);

CommandReply run(const CommandRequest &request, TodoStore &store);

} // namespace TodoCommands
