// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/single_instance.h"

#include "instance/command_protocol.h"
#include "instance/socket_peer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTimer>
#include <QUuid>

#include <poll.h>

namespace {

// Set on a client once its request has been read: what it sends after that
// is not read.
constexpr char requestReadProperty[] = "marlowickRequestRead";

// Whether a connection waits to be accepted (left to the server to accept).
bool hasWaitingConnection(const QLocalServer &server)
{
    pollfd waiting{int(server.socketDescriptor()), POLLIN, 0};
    return server.isListening() && ::poll(&waiting, 1, 0) > 0 && (waiting.revents & POLLIN);
}

bool isAbstract(const QString &name)
{
    return name.startsWith(u'@');
}

} // namespace

QString SingleInstance::newSocketName()
{
    return QStringLiteral("@marlowick-") + QUuid::createUuid().toString(QUuid::Id128);
}

SingleInstance::SingleInstance(const QString &socketName, QObject *parent)
    : QObject(parent)
    , m_socketName(socketName)
{
    m_server.setSocketOptions(isAbstract(socketName) ? QLocalServer::AbstractNamespaceOption
                                                     : QLocalServer::UserAccessOption);
    // Many commands at once (a script's loop run in parallel) wait in the
    // backlog while the program serves the clients it has.
    m_server.setListenBacklogSize(maxClients);
    m_server.setMaxPendingConnections(maxClients);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptClients);
    // A program on its way out answers nobody: a command then finds none
    // running instead of waiting in vain.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &SingleInstance::close);
}

void SingleInstance::setHandler(Handler handler)
{
    m_handler = std::move(handler);
    scheduleBatch();
}

bool SingleInstance::listen()
{
    QString name = m_socketName;
    if (isAbstract(name)) {
        name.remove(0, 1);
    } else {
        QDir().mkpath(QFileInfo(name).absolutePath());
        QLocalServer::removeServer(name);
    }
    if (!m_server.listen(name)) {
        m_error = m_server.errorString();
        return false;
    }
    return true;
}

void SingleInstance::acceptClients()
{
    while (QLocalSocket *client = m_server.nextPendingConnection()) {
        const auto peer = SocketPeer::of(client->socketDescriptor());
        // Clients are the server's children until they go.
        if (!peer || !peer->isThisUser
            || m_server.findChildren<QLocalSocket *>(Qt::FindDirectChildrenOnly).size() > maxClients) {
            client->abort();
            client->deleteLater();
            continue;
        }
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        // Reading stops when the buffer is full; a line longer than this is
        // refused without reading the rest.
        client->setReadBufferSize(CommandProtocol::maxRequestLength + 1);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readRequest(client); });
        // Dropped when it sends nothing for a while, before its request or
        // while its answer waits to be taken in; not while it is carried out.
        auto *silence = new QTimer(client);
        silence->setSingleShot(true);
        silence->setInterval(clientTimeout);
        connect(silence, &QTimer::timeout, client, [this, client] {
            // The program may have been stopped with the request waiting.
            if (!client->property(requestReadProperty).toBool() && client->waitForReadyRead(0)
                && client->property(requestReadProperty).toBool())
                return;
            client->abort();
            client->deleteLater();
        });
        connect(client, &QLocalSocket::bytesWritten, silence, qOverload<>(&QTimer::start));
        silence->start();
        // A command sends its request as it connects: it joins the batch now.
        client->waitForReadyRead(0);
    }
}

void SingleInstance::readRequest(QLocalSocket *client)
{
    if (client->property(requestReadProperty).toBool())
        return;
    if (!client->canReadLine()) {
        if (client->bytesAvailable() > CommandProtocol::maxRequestLength)
            answer(client, CommandReply::usageError(QStringLiteral("the request is too long")));
        return;
    }
    client->setProperty(requestReadProperty, true);
    if (auto *silence = client->findChild<QTimer *>())
        silence->stop();
    const QByteArray line = client->readLine();
    const auto request = CommandProtocol::decodeRequest(line);
    if (const CommandReply *refusal = std::get_if<CommandReply>(&request)) {
        answer(client, *refusal);
        return;
    }
    const CommandRequest &carried = std::get<CommandRequest>(request);
    if (const auto answered = m_answers.constFind(carried.id); !carried.id.isEmpty() && answered != m_answers.cend()) {
        answer(client, *answered);
        return;
    }
    m_pending.append({client, carried});
    scheduleBatch();
}

void SingleInstance::scheduleBatch()
{
    if (m_batchScheduled || m_pending.isEmpty() || !m_handler)
        return;
    m_batchScheduled = true;
    // After the connections and requests that wait now have been read.
    QTimer::singleShot(0, this, &SingleInstance::runBatch);
}

void SingleInstance::runBatch()
{
    m_batchScheduled = false;
    // The batch closes once a turn of the event loop has brought no more:
    // connections are accepted one a turn, their requests read as each is.
    if (m_pending.size() > m_pendingAtLastTurn || hasWaitingConnection(m_server)) {
        m_pendingAtLastTurn = m_pending.size();
        if (++m_turnsWaited < maxClients) {
            scheduleBatch();
            return;
        }
    }
    m_pendingAtLastTurn = 0;
    m_turnsWaited = 0;
    const QList<Pending> batch = std::exchange(m_pending, {});
    // The same change twice in one batch (sent again at once) is carried out once.
    QList<CommandRequest> requests;
    QHash<QString, qsizetype> indexOfId;
    QList<qsizetype> replyIndex;
    for (const Pending &pending : batch) {
        const QString &id = pending.request.id;
        if (!id.isEmpty() && indexOfId.contains(id)) {
            replyIndex.append(indexOfId.value(id));
            continue;
        }
        if (!id.isEmpty())
            indexOfId.insert(id, requests.size());
        replyIndex.append(requests.size());
        requests.append(pending.request);
    }
    const QList<CommandReply> replies = m_handler(requests);
    for (qsizetype i = 0; i < requests.size(); ++i) {
        if (requests.at(i).isChange() && !requests.at(i).id.isEmpty())
            remember(requests.at(i).id, replies.value(i));
    }
    for (qsizetype i = 0; i < batch.size(); ++i) {
        if (QLocalSocket *client = batch.at(i).client)
            answer(client, replies.value(replyIndex.at(i)));
    }
}

void SingleInstance::remember(const QString &id, const CommandReply &reply)
{
    m_answers.insert(id, reply);
    m_answerOrder.append(id);
    if (m_answerOrder.size() > rememberedAnswers)
        m_answers.remove(m_answerOrder.takeFirst());
}

void SingleInstance::answer(QLocalSocket *client, const CommandReply &reply)
{
    client->setProperty(requestReadProperty, true);
    client->write(CommandProtocol::encodeReply(reply));
    // Written now, ahead of whatever the request set off (an exit).
    client->flush();
    if (auto *silence = client->findChild<QTimer *>(); silence && client->bytesToWrite() > 0)
        silence->start();
    client->disconnectFromServer();
}
