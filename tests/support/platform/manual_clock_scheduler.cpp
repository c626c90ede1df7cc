#include "manual_clock_scheduler.h"

#include <algorithm>

ScheduledJob ManualClockScheduler::runAfter(std::chrono::milliseconds delay, QObject *context, Job job)
{
    m_pending.append(Pending{++m_lastId, m_now + delay, context, std::move(job)});
    return ScheduledJob{m_lastId};
}

void ManualClockScheduler::cancel(ScheduledJob job)
{
    m_pending.removeIf([&](const Pending &p) { return p.id == job.id; });
}

void ManualClockScheduler::advance(std::chrono::milliseconds by)
{
    const auto target = m_now + by;
    for (;;) {
        const auto next = std::min_element(m_pending.begin(), m_pending.end(), [](const Pending &a, const Pending &b) {
            return a.due < b.due || (a.due == b.due && a.id < b.id);
        });
        if (next == m_pending.end() || next->due > target)
            break;
        Pending due = std::move(*next);
        m_pending.erase(next);
        m_now = due.due;
        if (due.context)
            due.job();
    }
    m_now = target;
}
