// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <QString>

#include <chrono>

// The command line's side of the one-instance socket: sends one request to
// the running program and waits for its reply, blocking.
//
// It waits as long as the answer keeps coming: a program carrying out a
// batch of changes on a long list, writing a long answer, or stopped for a
// moment is waited for; only silenceLimit without a byte, or the program
// closing the connection, ends the wait.
namespace RequestClient {

inline constexpr std::chrono::milliseconds silenceLimit{30000};

struct Exchange {
    enum class Result {
        NotListening, // nobody listens there: the request did not go out
        Answered,     // reply is the program's answer
        Closed,       // the program closed the connection without an answer
        Silent,       // the program gave no answer within the silence limit
        Failed,       // the connection failed; reply says why
    };
    Result result = Result::NotListening;
    CommandReply reply;
    // The process that listens (0 when unknown).
    qint64 peerPid = 0;
};

// A socketName that starts with "@" is in the abstract namespace (see
// SingleInstance).
Exchange send(const QString &socketName, const CommandRequest &request,
              std::chrono::milliseconds silence = silenceLimit);

} // namespace RequestClient
