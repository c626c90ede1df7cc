// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/request_client.h"

#include "instance/command_protocol.h"
#include "instance/socket_peer.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace RequestClient {

namespace {

using Result = Exchange::Result;

bool nobodyListens(QLocalSocket::LocalSocketError error)
{
    return error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError;
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

Exchange failed(Result result, const QString &error, qint64 pid = 0)
{
    return {result, CommandReply::failure(error), pid};
}

} // namespace

Exchange send(const QString &socketName, const CommandRequest &request, std::chrono::milliseconds silence)
{
    QLocalSocket socket;
    QString name = socketName;
    if (name.startsWith(u'@')) {
        name.remove(0, 1);
        socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    }
    QDeadlineTimer quiet(silence);
    socket.connectToServer(name);
    if (!socket.waitForConnected(remainingMs(quiet))) {
        if (nobodyListens(socket.error()))
            return {};
        return failed(Result::Failed,
                      QStringLiteral("cannot reach the running Marlowick: %1").arg(socket.errorString()));
    }
    const auto peer = SocketPeer::of(socket.socketDescriptor());
    if (!peer || !peer->isThisUser)
        return failed(Result::Failed, QStringLiteral("the socket of the running Marlowick belongs to another user"));
    socket.write(CommandProtocol::encodeRequest(request));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(remainingMs(quiet))) {}
    // Read as it comes (an answer may be many megabytes long): the line
    // ends at the first line break.
    QByteArray answer;
    while (true) {
        const qsizetype scanned = answer.size();
        answer += socket.readAll();
        if (const qsizetype end = answer.indexOf('\n', scanned); end >= 0) {
            answer.truncate(end + 1);
            break;
        }
        if (answer.size() > scanned)
            quiet = QDeadlineTimer(silence);
        if (answer.size() > CommandProtocol::maxReplyLength)
            return failed(Result::Failed, QStringLiteral("the running Marlowick answered with too much"), peer->pid);
        if (socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0) {
            return failed(Result::Closed,
                          QStringLiteral("the running Marlowick closed the connection without an answer"), peer->pid);
        }
        if (quiet.hasExpired()) {
            return failed(Result::Silent,
                          QStringLiteral("the running Marlowick (process %1) did not answer within %2 s")
                              .arg(peer->pid)
                              .arg(std::chrono::duration_cast<std::chrono::seconds>(silence).count()),
                          peer->pid);
        }
        socket.waitForReadyRead(remainingMs(quiet));
    }
    const auto reply = CommandProtocol::decodeReply(answer);
    if (!reply)
        return failed(Result::Failed,
                      QStringLiteral("the running Marlowick gave an answer this command does not understand"),
                      peer->pid);
    return {Result::Answered, *reply, peer->pid};
}

} // namespace RequestClient
