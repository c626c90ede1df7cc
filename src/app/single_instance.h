// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "cli/command_request.h"

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>

class QLocalSocket;

// The running Marlowick's side of the one-instance socket, in the user's
// runtime folder: later starts and the command line send their requests
// there (see CommandProtocol), and the handler carries them out. Which
// program runs is the WriterLock's to decide.
//
// Clients are read without blocking: a request line is at most
// CommandProtocol::maxRequestLength long, and a client that has not sent a
// whole one within clientTimeout is dropped. Whatever a client sends, the
// program goes on.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<CommandReply(const CommandRequest &)>;

    static constexpr std::chrono::milliseconds clientTimeout{5000};
    // Clients served at once; more are turned away at once.
    static constexpr int maxClients = 32;

    // The socket of the user's instance (in $XDG_RUNTIME_DIR).
    static QString defaultSocketPath();

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);

    const QString &socketPath() const { return m_socketPath; }
    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Listens for requests, in place of whatever socket is there (one left
    // by a program that ended without removing it): ask first whether one
    // answers. Stops listening when the application is about to quit.
    bool listen();
    void close() { m_server.close(); }

    QString errorString() const { return m_error; }

private:
    void acceptClients();
    void readRequest(QLocalSocket *client);
    void answer(QLocalSocket *client, const CommandReply &reply);

    QString m_socketPath;
    QLocalServer m_server;
    Handler m_handler;
    QString m_error;
};
