// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/today_watcher.h"

#include "model/todo_store.h"

#include <algorithm>
#include <cmath>

TodayWatcher::TodayWatcher(QObject *parent)
    : QObject(parent)
{
    // A coarse timer may be off by 5 %, an hour on a day.
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TodayWatcher::check);
}

void TodayWatcher::setStore(TodoStore *store)
{
    if (m_store == store)
        return;
    m_store = store;
    check();
    Q_EMIT storeChanged();
}

void TodayWatcher::setActive(bool active)
{
    if (m_active == active)
        return;
    m_active = active;
    check();
    Q_EMIT activeChanged();
}

void TodayWatcher::check()
{
    if (!m_store || !m_active) {
        m_timer.stop();
        return;
    }
    m_store->refreshToday();
    std::chrono::milliseconds wait = longestWait;
    if (const auto end = m_store->endOfToday()) {
        // Just past midnight rather than just before it.
        const double untilEnd = std::ceil((*end - m_store->now()) * 1000.0) + 1;
        wait = std::chrono::milliseconds(qint64(std::clamp(untilEnd, 1.0, double(wait.count()))));
    }
    m_timer.start(wait);
}
