// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/scheduler.h"

#include <QList>
#include <QPointer>

#include <algorithm>

// A scheduler whose clock moves only when the test says so.
class ManualClockScheduler : public Scheduler
{
public:
    ScheduledJob runAfter(std::chrono::milliseconds delay, QObject *context, Job job) override
    {
        m_pending.append(Pending{++m_lastId, m_now + delay, context, std::move(job)});
        return ScheduledJob{m_lastId};
    }
    void cancel(ScheduledJob job) override
    {
        m_pending.removeIf([&](const Pending &p) { return p.id == job.id; });
    }

    // Moves the clock forward, running every job that falls due on the way
    // (jobs scheduled meanwhile included), in the order of their times.
    void advance(std::chrono::milliseconds by)
    {
        const auto target = m_now + by;
        for (;;) {
            const auto next =
                std::min_element(m_pending.begin(), m_pending.end(), [](const Pending &a, const Pending &b) {
                    return std::pair(a.due, a.id) < std::pair(b.due, b.id);
                });
            if (next == m_pending.end() || next->due > target)
                break;
            const Pending due = std::move(*next);
            m_pending.erase(next);
            m_now = due.due;
            if (due.context)
                due.job();
        }
        m_now = target;
    }
    qsizetype pendingCount() const { return m_pending.size(); }

private:
    struct Pending {
        quint64 id;
        std::chrono::milliseconds due;
        QPointer<QObject> context;
        Job job;
    };
    QList<Pending> m_pending;
    std::chrono::milliseconds m_now{0};
    quint64 m_lastId = 0;
};
