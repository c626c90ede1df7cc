// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/socket_peer.h"

#include <QFile>
#include <QString>

#include <sys/socket.h>
#include <unistd.h>

namespace SocketPeer {

std::optional<Peer> of(qintptr socketDescriptor)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (socketDescriptor < 0 || ::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0)
        return std::nullopt;
    return Peer{credentials.pid, credentials.uid == ::geteuid()};
}

bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace SocketPeer
