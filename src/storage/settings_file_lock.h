// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QLockFile;

// The lock QSettings takes on "<settings file>.lock" while it writes the
// file, taken the same way for each save so that neither side writes over
// the other. It is the lock file QLockFile makes (created exclusively,
// flock()ed, holding this process's id, name, host and boot), made without
// QLockFile's flush to disk, which would double the cost of a save: a lock
// file lost in a crash is only ever stale. A lock left by a process that
// is gone is cleared by QLockFile itself.
class SettingsFileLock
{
public:
    explicit SettingsFileLock(const QString &settingsFile);
    ~SettingsFileLock();
    SettingsFileLock(const SettingsFileLock &) = delete;
    SettingsFileLock &operator=(const SettingsFileLock &) = delete;

    bool tryLock(std::chrono::milliseconds timeout);
    void unlock();
    QString errorString() const { return m_error; }

private:
    enum Attempt { Created, Exists, Failed };
    Attempt tryCreate();

    QString m_fileName;
    int m_fd = -1;
    // The lock as QLockFile took it, after clearing a stale one.
    std::unique_ptr<QLockFile> m_cleared;
    QString m_error;
};
