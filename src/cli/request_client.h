// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "command_request.h"

#include <QString>

#include <chrono>
#include <optional>

// The command line's side of the one-instance socket: sends one request to
// the running program and waits for its reply, blocking, for a bounded time.
namespace RequestClient {

inline constexpr std::chrono::milliseconds answerTimeout{2000};

// The running program's reply; none when no program listens on the socket.
// A program that does not answer in time, closes the connection without an
// answer or answers something else gives a failure that says so.
std::optional<CommandReply> send(const QString &socketPath, const CommandRequest &request,
                                 std::chrono::milliseconds timeout = answerTimeout);

// Whether a program listens on the socket now.
bool isListening(const QString &socketPath);

} // namespace RequestClient
