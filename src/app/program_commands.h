// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "cli/command_request.h"

class AppDelegate;

// What the running program does for a request that came over the
// one-instance socket (from the command line or a later start): the list
// commands on its own store, so that an open panel shows the change at once,
// and the panel commands on its panel.
namespace ProgramCommands {

CommandReply run(const CommandRequest &request, AppDelegate &delegate);

} // namespace ProgramCommands
