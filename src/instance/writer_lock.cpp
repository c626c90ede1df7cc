// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/writer_lock.h"

#include "storage/checked_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace {

// QLockFile writes five lines (process id, program, host, machine id, boot
// id) and reads only those; the socket's name is the sixth.
constexpr int socketLine = 5;

} // namespace

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
    // The lock is often the first thing in a new settings folder, which is
    // the user's alone, as the list in it is.
    QString folderError;
    CheckedFile::makeFolder(QFileInfo(m_lock.fileName()).absolutePath(), &folderError);
    if (m_lock.tryLock(0))
        return Outcome::Locked;
    if (m_lock.error() == QLockFile::LockFailedError)
        return Outcome::HeldElsewhere;
    m_error = QStringLiteral("%1 cannot be created").arg(m_lock.fileName());
    return Outcome::Failed;
}

bool WriterLock::announce(const QString &socketName)
{
    QFile file(m_lock.fileName());
    return m_lock.isLocked() && file.open(QIODevice::WriteOnly | QIODevice::Append)
        && file.write(socketName.toUtf8() + '\n') > 0 && file.flush();
}

std::optional<WriterLock::Holder> WriterLock::holder() const
{
    QFile file(m_lock.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    Holder holder;
    bool isNumber = false;
    holder.pid = lines.value(0).toLongLong(&isNumber);
    if (!isNumber || holder.pid <= 0 || lines.size() < 3)
        return std::nullopt;
    holder.program = QString::fromUtf8(lines.value(1));
    holder.host = QString::fromUtf8(lines.value(2));
    const QByteArray machine = lines.value(3);
    holder.onThisMachine =
        machine.isEmpty() ? holder.host == QSysInfo::machineHostName() : machine == QSysInfo::machineUniqueId();
    // A line cut short is still being written.
    if (lines.size() > socketLine + 1)
        holder.socketName = QString::fromUtf8(lines.value(socketLine));
    return holder;
}

QString WriterLock::Holder::description() const
{
    const QString process = QStringLiteral("process %1 (%2)").arg(pid).arg(program);
    return onThisMachine ? process : QStringLiteral("%1 on host %2").arg(process, host);
}
