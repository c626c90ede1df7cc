// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_item.h"

#include <QHash>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>
#include <memory>

class XDesktop;

// The marlowick program with a user of its own (settings, state and runtime
// folders), on a desktop, or on none: then it has no DISPLAY and asks for
// X11, so that whatever needs a display fails as it would without one.
class MarlowickProcess
{
public:
    explicit MarlowickProcess(const XDesktop *desktop = nullptr);
    ~MarlowickProcess();

    // Set for each start, over the desktop's environment.
    QHash<QString, QString> environment;
    // The largest file a start may write, in bytes (RLIMIT_FSIZE); none when 0.
    qint64 fileSizeLimit = 0;

    QString settingsFile() const { return m_config.filePath(QStringLiteral("marlowick/marlowick.conf")); }
    QString runtimeFolder() const { return m_runtime.path(); }
    QString stateFolder() const { return m_state.path(); }
    // The list in a settings file (this user's by default) as the program
    // reads it; a list written there for the program to find.
    static QList<TodoItem> storedItems(const QString &settingsFile);
    QList<TodoItem> storedItems() const { return storedItems(settingsFile()); }
    QStringList storedTitles() const;
    bool store(const QList<TodoItem> &items) const;

    // The program kept running: started, and ready as it says in its log.
    bool startAndWaitUntilReady();
    qint64 pid() const { return m_process.processId(); }
    QString log();
    bool logged(const QString &text) { return log().contains(text); }
    // Waits for it to end, by itself or by a signal (SIGTERM from a session
    // at logout, SIGHUP from a closing terminal); true when it ends cleanly.
    bool exitsCleanly();
    bool stop(int signal = SIGTERM) { return ::kill(pid_t(pid()), signal) == 0 && exitsCleanly(); }

    // A run to its end (a command, or a second start) with these folders or
    // another runtime folder; this process's events are handled meanwhile.
    struct Output {
        int exitCode = -1;
        QString out, err;
    };
    Output run(const QStringList &arguments, const QString &runtime = {}) const;
    // A command started, left to run (its output to a file, when given).
    std::unique_ptr<QProcess> start(const QStringList &arguments, const QString &outputFile = {}) const;

private:
    void prepare(QProcess &process, const QString &runtime) const;

    const XDesktop *m_desktop;
    QTemporaryDir m_config;
    QTemporaryDir m_state;
    QTemporaryDir m_runtime;
    QProcess m_process;
    QString m_log;
};
