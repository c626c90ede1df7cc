#pragma once

#include "scheduler.h"

#include <QList>
#include <QPointer>

// A scheduler whose clock moves only when the test says so.
class ManualClockScheduler : public Scheduler
{
public:
    ScheduledJob runAfter(std::chrono::milliseconds delay, QObject *context, Job job) override;
    void cancel(ScheduledJob job) override;

    // Moves the clock forward, running every job that falls due on the way
    // (jobs scheduled meanwhile included), in the order of their times.
    void advance(std::chrono::milliseconds by);
    // Runs the jobs due now (those scheduled with no delay).
    void runDue() { advance(std::chrono::milliseconds(0)); }

    std::chrono::milliseconds now() const { return m_now; }
    qsizetype pendingCount() const { return m_pending.size(); }

private:
    struct Pending
    {
        quint64 id;
        std::chrono::milliseconds due;
        QPointer<QObject> context;
        Job job;
    };

    QList<Pending> m_pending;
    std::chrono::milliseconds m_now{0};
    quint64 m_lastId = 0;
};
