// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/qt_scheduler.h"

#include <QPointer>
#include <QTimer>

ScheduledJob QtScheduler::runAfter(std::chrono::milliseconds delay, QObject *context, Job job)
{
    Q_ASSERT(context);
    const quint64 id = ++m_lastId;
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    // The delays are short and user-visible (0.4 to 0.5 s): a coarse timer's
    // 5 % slack would be noticeable.
    timer->setTimerType(Qt::PreciseTimer);
    m_timers.insert(id, timer);
    connect(timer, &QTimer::timeout, this,
            [this, id, timer, context = QPointer<QObject>(context), job = std::move(job)] {
                m_timers.remove(id);
                timer->deleteLater();
                // The job belongs to its context: once that is gone it must not run.
                if (context)
                    job();
            });
    timer->start(delay);
    return ScheduledJob{id};
}

void QtScheduler::cancel(ScheduledJob job)
{
    QTimer *timer = m_timers.take(job.id);
    if (!timer)
        return;
    timer->stop();
    timer->deleteLater();
}
