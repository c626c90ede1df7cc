// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <initializer_list>
#include <memory>

// Turns Unix signals (SIGTERM, SIGHUP, SIGINT) into a Qt signal on the main thread,
// through a self-pipe: a signal handler may do nothing but write to it.
class UnixSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit UnixSignalWatcher(std::initializer_list<int> signals, QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

Q_SIGNALS:
    void signalReceived(int signal);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
