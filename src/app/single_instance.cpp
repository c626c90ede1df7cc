// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "single_instance.h"

#include "cli/command_protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace {

// Set on a client once it has been answered: what it sends after that is
// not read.
constexpr char answeredProperty[] = "marlowickAnswered";

} // namespace

QString SingleInstance::defaultSocketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/marlowick.socket");
}

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(socketPath)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptClients);
    // A program on its way out answers nobody: a command then finds none
    // running instead of waiting in vain.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &SingleInstance::close);
}

bool SingleInstance::listen()
{
    QDir().mkpath(QFileInfo(m_socketPath).absolutePath());
    QLocalServer::removeServer(m_socketPath);
    if (!m_server.listen(m_socketPath)) {
        m_error = m_server.errorString();
        return false;
    }
    return true;
}

void SingleInstance::acceptClients()
{
    while (QLocalSocket *client = m_server.nextPendingConnection()) {
        // Clients are the server's children until they go.
        if (m_server.findChildren<QLocalSocket *>(Qt::FindDirectChildrenOnly).size() > maxClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        // Reading stops when the buffer is full; a line longer than this is
        // refused without reading the rest.
        client->setReadBufferSize(CommandProtocol::maxRequestLength + 1);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequest(client); });
        QTimer::singleShot(clientTimeout, client, [client] {
            client->abort();
            client->deleteLater();
        });
    }
}

void SingleInstance::readRequest(QLocalSocket *client)
{
    if (client->property(answeredProperty).toBool())
        return;
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > CommandProtocol::maxRequestLength)
            answer(client, CommandReply::usageError(QStringLiteral("the request is too long")));
        return;
    }
    const QByteArray line = client->readLine();
    const auto request = CommandProtocol::decodeRequest(line);
    if (const CommandReply *refusal = std::get_if<CommandReply>(&request))
        answer(client, *refusal);
    else if (!m_handler)
        answer(client, CommandReply::failure(QStringLiteral("Marlowick is still starting")));
    else
        answer(client, m_handler(std::get<CommandRequest>(request)));
}

void SingleInstance::answer(QLocalSocket *client, const CommandReply &reply)
{
    client->setProperty(answeredProperty, true);
    client->write(CommandProtocol::encodeReply(reply));
    // Written now, ahead of whatever the request set off (an exit).
    client->flush();
    client->disconnectFromServer();
}
