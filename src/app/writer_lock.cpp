// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "writer_lock.h"

#include <QDir>
#include <QFileInfo>

WriterLock::WriterLock(const QString &settingsFile)
    // Not "<settings file>.lock": QSettings takes that one for each write.
    : m_lock(settingsFile + QStringLiteral(".writer.lock"))
{
    // Held for the program's life: never stale by age, only when its
    // holder is gone.
    m_lock.setStaleLockTime(0);
}

WriterLock::Outcome WriterLock::tryLock()
{
    QDir().mkpath(QFileInfo(m_lock.fileName()).absolutePath());
    if (m_lock.tryLock(0))
        return Outcome::Locked;
    if (m_lock.error() == QLockFile::LockFailedError)
        return Outcome::HeldElsewhere;
    m_error = QStringLiteral("%1 cannot be created").arg(m_lock.fileName());
    return Outcome::Failed;
}

QString WriterLock::holder() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    if (!m_lock.getLockInfo(&pid, &host, &program))
        return QStringLiteral("another program");
    return QStringLiteral("process %1 (%2) on host %3").arg(pid).arg(program, host);
}
