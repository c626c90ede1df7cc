// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "request_client.h"

#include "command_protocol.h"

#include <QDeadlineTimer>
#include <QLocalSocket>

namespace RequestClient {

namespace {

bool nobodyListens(QLocalSocket::LocalSocketError error)
{
    return error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError;
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return int(std::max<qint64>(0, deadline.remainingTime()));
}

} // namespace

std::optional<CommandReply> send(const QString &socketPath, const CommandRequest &request,
                                 std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    const double seconds = std::chrono::duration<double>(timeout).count();
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(remainingMs(deadline))) {
        if (nobodyListens(socket.error()))
            return std::nullopt;
        return CommandReply::failure(
            QStringLiteral("cannot reach the running Marlowick at %1: %2").arg(socketPath, socket.errorString()));
    }
    socket.write(CommandProtocol::encodeRequest(request));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(remainingMs(deadline))) {}
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > CommandProtocol::maxReplyLength)
            return CommandReply::failure(QStringLiteral("the running Marlowick answered with too much"));
        if (deadline.hasExpired()) {
            return CommandReply::failure(
                QStringLiteral("the running Marlowick did not answer within %1 s").arg(seconds));
        }
        if (!socket.waitForReadyRead(remainingMs(deadline)) && socket.state() != QLocalSocket::ConnectedState
            && !socket.canReadLine())
            return CommandReply::failure(
                QStringLiteral("the running Marlowick closed the connection without an answer"));
    }
    const auto reply = CommandProtocol::decodeReply(socket.readLine());
    if (!reply)
        return CommandReply::failure(
            QStringLiteral("the running Marlowick gave an answer this command does not understand"));
    return reply;
}

bool isListening(const QString &socketPath)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    return socket.waitForConnected(int(answerTimeout.count()));
}

} // namespace RequestClient
