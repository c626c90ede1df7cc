// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QLockFile>
#include <QString>

// The one program that writes a settings file: a lock file beside it,
// "<settings file>.writer.lock", held for as long as that program runs.
// Another program on the same settings file (another session, another
// machine sharing the home folder, a session without XDG_RUNTIME_DIR) finds
// it held and does not write. A lock left by a process that is gone (on this
// machine, or from before a reboot) is taken over; one held on another
// machine is never taken: only removing it by hand frees it.
class WriterLock
{
public:
    explicit WriterLock(const QString &settingsFile);

    QString fileName() const { return m_lock.fileName(); }

    enum class Outcome {
        Locked,        // held now, until this object goes
        HeldElsewhere, // another program holds it; see holder()
        Failed,        // cannot be made (see errorString()): nor can the settings be written
    };
    Outcome tryLock();

    // "process 1234 (marlowick) on host x", who holds it when HeldElsewhere.
    QString holder() const;
    QString errorString() const { return m_error; }

private:
    QLockFile m_lock;
    QString m_error;
};
