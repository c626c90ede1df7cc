// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QtQmlIntegration/qqmlintegration.h>

#include <chrono>

class TodoStore;

// Keeps the store's current day in step with the clock while the panel is
// open: at once when it becomes active, then at every midnight. While
// inactive it runs no timer, so a closed panel costs nothing; the next
// activation catches up.
class TodayWatcher : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(TodoStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(bool active READ isActive WRITE setActive NOTIFY activeChanged)

public:
    // The timer measures time on the monotonic clock, which stands still
    // while the machine sleeps and does not follow a clock that is set: the
    // day is checked at least this often, not only at the expected midnight.
    static constexpr std::chrono::minutes longestWait{1};

    explicit TodayWatcher(QObject *parent = nullptr);

    TodoStore *store() const { return m_store; }
    void setStore(TodoStore *store);
    bool isActive() const { return m_active; }
    void setActive(bool active);
    // Whether a check of the day is pending.
    bool isWaiting() const { return m_timer.isActive(); }

Q_SIGNALS:
    void storeChanged();
    void activeChanged();

private:
    void check();

    QPointer<TodoStore> m_store;
    QTimer m_timer;
    bool m_active = false;
};
