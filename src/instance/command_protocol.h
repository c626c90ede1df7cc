// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <variant>

// How the command line and the running program talk over the one-instance
// socket: one request line from the command line, one reply line back, each
// a compact JSON object (line breaks inside strings are escaped).
//
//   {"marlowick":1,"command":"add","title":"Buy milk","day":"today",...,"id":"..."}
//   {"status":0,"output":"","error":""}
//
// "marlowick" is the version of the protocol: a program answers a request of
// another version with a failure that says so.
namespace CommandProtocol {

inline constexpr int version = 1;

// The longest request a program reads (a title of the longest length, each
// character escaped, fits); a longer one is refused unread.
inline constexpr qsizetype maxRequestLength = 128 * 1024;
// The longest reply the command line reads: a day's to-dos with titles of
// many megabytes fit.
inline constexpr qsizetype maxReplyLength = 256 * 1024 * 1024;

QByteArray encodeRequest(const CommandRequest &request);
// The request in the line, or the reply that refuses it (not a request, or
// one of another version).
std::variant<CommandRequest, CommandReply> decodeRequest(QByteArrayView line);

QByteArray encodeReply(const CommandReply &reply);
// None when the line is not a reply.
std::optional<CommandReply> decodeReply(QByteArrayView line);

} // namespace CommandProtocol
