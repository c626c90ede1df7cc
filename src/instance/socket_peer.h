// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <optional>

// The process at the other end of a connected local socket, as the kernel
// tells it: the program's socket has a name anyone on the machine can see
// and connect to, so each side checks that the other is this user.
namespace SocketPeer {

struct Peer {
    qint64 pid = 0;
    bool isThisUser = false;
};

std::optional<Peer> of(qintptr socketDescriptor);

// Whether the process runs still: it is there, and not a zombie that its
// parent has not reaped.
bool isRunning(qint64 pid);

} // namespace SocketPeer
