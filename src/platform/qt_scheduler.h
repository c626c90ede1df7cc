// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/scheduler.h"

#include <QHash>
#include <QObject>

class QTimer;

// Runs jobs from single-shot QTimers of the main thread's event loop.
class QtScheduler : public QObject, public Scheduler
{
    Q_OBJECT

public:
    using QObject::QObject;

    ScheduledJob runAfter(std::chrono::milliseconds delay, QObject *context, Job job) override;
    void cancel(ScheduledJob job) override;

private:
    QHash<quint64, QTimer *> m_timers;
    quint64 m_lastId = 0;
};
