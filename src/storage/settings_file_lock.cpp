// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/settings_file_lock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// What QLockFile writes into a lock file, line by line; QLockFile reads it
// to tell whether the holder still runs. The name must be that of the
// running executable, as /proc shows it, or the lock would count as stale.
QByteArray lockFileContents()
{
    static const QByteArray fixedPart = [] {
        QString program = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
        program.remove(QStringLiteral(" (deleted)"));
        return QFileInfo(program).fileName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n'
            + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
    }();
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' + fixedPart;
}

} // namespace

SettingsFileLock::SettingsFileLock(const QString &settingsFile)
    : m_fileName(settingsFile + QStringLiteral(".lock"))
{
}

SettingsFileLock::~SettingsFileLock()
{
    unlock();
}

bool SettingsFileLock::tryLock(std::chrono::milliseconds timeout)
{
    const QDeadlineTimer deadline(timeout);
    while (true) {
        switch (tryCreate()) {
        case Created:
            return true;
        case Failed:
            return false;
        case Exists:
            break;
        }
        // QLockFile clears a lock left by a process that is gone, and takes
        // the lock then. It sleeps 100 ms and more between tries, while
        // QSettings holds its lock for a moment, often: try again sooner.
        m_cleared = std::make_unique<QLockFile>(m_fileName);
        if (m_cleared->tryLock(0))
            return true;
        m_cleared.reset();
        if (deadline.hasExpired()) {
            m_error = QStringLiteral("another program holds %1").arg(QFileInfo(m_fileName).fileName());
            return false;
        }
        QThread::msleep(5);
    }
}

SettingsFileLock::Attempt SettingsFileLock::tryCreate()
{
    const QByteArray path = QFile::encodeName(m_fileName);
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST)
            return Exists;
        m_error = QStringLiteral("%1 cannot be created: %2")
                      .arg(QFileInfo(m_fileName).fileName(), QString::fromLocal8Bit(std::strerror(errno)));
        return Failed;
    }
    // Nobody removes a lock file that is flock()ed, stale or not.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const QByteArray contents = lockFileContents();
    if (::write(fd, contents.constData(), size_t(contents.size())) != contents.size()) {
        m_error = QStringLiteral("%1 cannot be written: %2")
                      .arg(QFileInfo(m_fileName).fileName(), QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(path.constData());
        ::close(fd);
        return Failed;
    }
    m_fd = fd;
    return Created;
}

void SettingsFileLock::unlock()
{
    if (m_fd >= 0) {
        ::unlink(QFile::encodeName(m_fileName).constData());
        ::close(m_fd);
        m_fd = -1;
    }
    m_cleared.reset();
}
