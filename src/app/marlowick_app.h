// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <optional>

// The program with its windows: checks that an X display is there, makes
// sure only one Marlowick runs per user, installs the AppDelegate and runs
// until "Quit", Ctrl+Q, SIGTERM or SIGINT. Returns the exit status.
//
// When one runs already, it asks that one to open its panel (as panelRequest
// says) and ends. Otherwise it starts, opens its panel when panelRequest is
// given, and answers requests on the one-instance socket.
//
// The program never quits because a window closed. Nothing is written at
// exit: every change was saved when it was made.
class MarlowickApp
{
public:
    static int run(int argc, char **argv, const std::optional<CommandRequest> &panelRequest = std::nullopt);
};
