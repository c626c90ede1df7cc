// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <QHash>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <chrono>
#include <functional>

class QLocalSocket;

// The running Marlowick's side of the one-instance socket: later starts and
// the command line send their requests there (see CommandProtocol), and the
// handler carries them out. Which program runs is the WriterLock's to
// decide; the lock names the socket (see WriterLock::announce()), so
// nothing but the settings file's place is needed to reach it.
//
// The socket has a fresh name in the abstract namespace ("@marlowick-…"):
// nothing on disk, nothing that depends on the environment, and private
// through the peer's credentials (another user's connections are dropped).
// A name with no "@" is a path, as for tests.
//
// Clients are read without blocking: a request line is at most
// CommandProtocol::maxRequestLength long, and a client that has not sent a
// whole one within clientTimeout is dropped. Requests that come together
// (while the program was busy, say) go to the handler together, so that it
// saves the list once for them all. The answers to changes are remembered
// by request id: a change sent again is answered again, not carried out
// twice. Whatever a client sends, the program goes on.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // One answer for each request, in the same order.
    using Handler = std::function<QList<CommandReply>(const QList<CommandRequest> &)>;

    static constexpr std::chrono::milliseconds clientTimeout{5000};
    // Clients served at once; more wait in the socket's backlog, or, beyond
    // it, are turned away (the command tries again).
    static constexpr int maxClients = 128;
    // Answers to changes kept for requests sent again.
    static constexpr qsizetype rememberedAnswers = 1024;

    // A fresh name for a program's socket.
    static QString newSocketName();

    explicit SingleInstance(const QString &socketName = newSocketName(), QObject *parent = nullptr);

    const QString &socketName() const { return m_socketName; }
    // Requests that came before there is a handler wait for it.
    void setHandler(Handler handler);

    // Listens for requests, in place of whatever socket is there (a path
    // left by a program that ended without removing it). Stops listening
    // when the application is about to quit.
    bool listen();
    void close() { m_server.close(); }

    QString errorString() const { return m_error; }

private:
    struct Pending {
        QPointer<QLocalSocket> client;
        CommandRequest request;
    };

    void acceptClients();
    void readRequest(QLocalSocket *client);
    void scheduleBatch();
    void runBatch();
    void answer(QLocalSocket *client, const CommandReply &reply);
    void remember(const QString &id, const CommandReply &reply);

    QString m_socketName;
    QLocalServer m_server;
    Handler m_handler;
    QString m_error;
    QList<Pending> m_pending;
    bool m_batchScheduled = false;
    qsizetype m_pendingAtLastTurn = 0;
    int m_turnsWaited = 0;
    QHash<QString, CommandReply> m_answers;
    QList<QString> m_answerOrder;
};
