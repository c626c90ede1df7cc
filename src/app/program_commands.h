// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <QList>

class AppDelegate;

// What the running program does for requests that came over the
// one-instance socket (from the command line or a later start): the list
// commands on its own store, so that an open panel shows the change at once,
// and the panel commands on its panel.
namespace ProgramCommands {

CommandReply run(const CommandRequest &request, AppDelegate &delegate);

// Requests that came together, in order, with one save for every change
// among them: an add is answered as done only once the list is saved.
QList<CommandReply> run(const QList<CommandRequest> &requests, AppDelegate &delegate);

} // namespace ProgramCommands
