// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

// The one program that writes a settings file: a lock file beside it,
// "<settings file>.writer.lock", held for as long as that program runs.
// Another program on the same settings file (another session, another
// machine sharing the home folder) finds it held and does not write. A lock
// left by a process that is gone (on this machine, or from before a reboot)
// is taken over; one held on another machine is never taken: only removing
// it by hand frees it.
//
// The running Marlowick writes where it listens into its lock (announce()),
// so that every command on the same settings file reaches that program,
// whatever its environment. A command that adds to the list without the
// program holds the lock for a moment and announces nothing.
class WriterLock
{
public:
    explicit WriterLock(const QString &settingsFile);

    QString fileName() const { return m_lock.fileName(); }

    enum class Outcome {
        Locked,        // held now, until this object goes or unlock()
        HeldElsewhere, // another process holds it; see holder()
        Failed,        // cannot be made (see errorString()): nor can the settings be written
    };
    Outcome tryLock();
    void unlock() { m_lock.unlock(); }

    // Adds the socket's name to the lock this object holds.
    bool announce(const QString &socketName);

    // Who holds the lock, as its file says; none while there is no lock
    // file (or one still being written).
    struct Holder {
        qint64 pid = 0;
        QString program;
        QString host;
        bool onThisMachine = true;
        // Where the holder listens: empty for a command.
        QString socketName;

        // "process 1234 (marlowick-program)", with " on host x" when elsewhere.
        QString description() const;
    };
    std::optional<Holder> holder() const;

    QString errorString() const { return m_error; }

private:
    QLockFile m_lock;
    QString m_error;
};
