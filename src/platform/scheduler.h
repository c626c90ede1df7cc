// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <chrono>
#include <functional>

class QObject;

// Names a scheduled job so that it can be cancelled; the default value names
// nothing.
struct ScheduledJob {
    quint64 id = 0;
    bool isValid() const { return id != 0; }
};

// One-shot timers and deferred jobs on the main thread.
class Scheduler
{
public:
    using Job = std::function<void()>;
    virtual ~Scheduler() = default;

    // Runs job once on the main thread after delay (zero: at the next turn of
    // the event loop), unless it is cancelled or context is destroyed first.
    // Jobs due at the same moment run in the order they were scheduled.
    virtual ScheduledJob runAfter(std::chrono::milliseconds delay, QObject *context, Job job) = 0;
    // Stops a job that has not run yet; anything else is ignored.
    virtual void cancel(ScheduledJob job) = 0;
};
