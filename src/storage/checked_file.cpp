// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/checked_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

// Writes are gathered up to this size before they go to the file.
constexpr qsizetype bufferSize = 64 * 1024;

// Writes every byte, or fails with errno set: a write that stops short is
// continued, and the one after it tells why it stopped.
bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool closeChecked(int fd)
{
    // Linux frees the descriptor even when close fails: it is never retried.
    return ::close(fd) == 0 || errno == EINTR;
}

// Flushes a folder's entries (a file created or renamed in it) to disk.
// File systems that cannot sync a folder say EINVAL; that is no failure.
bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int syncError = errno;
    ::close(fd);
    errno = syncError;
    return synced;
}

QString reason(int error)
{
    return qt_error_string(error);
}

} // namespace

namespace CheckedFile {

bool makeFolder(const QString &folder, QString *error)
{
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (QFileInfo(path).isDir())
        return true;
    // Each missing folder from the top down.
    qsizetype end = 0;
    while (end != path.size()) {
        end = path.indexOf(u'/', end + 1);
        if (end < 0)
            end = path.size();
        const QByteArray part = QFile::encodeName(path.left(end));
        if (::mkdir(part.constData(), 0700) == 0 || errno == EEXIST)
            continue;
        *error = QStringLiteral("the folder %1 cannot be created: %2").arg(path.left(end), reason(errno));
        return false;
    }
    if (!QFileInfo(path).isDir()) {
        *error = QStringLiteral("%1 is not a folder").arg(path);
        return false;
    }
    return true;
}

bool writeNew(const QString &fileName, QByteArrayView bytes, QString *error)
{
    const QByteArray path = QFile::encodeName(fileName);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot create %1: %2").arg(fileName, reason(errno));
        return false;
    }
    bool written = writeAll(fd, bytes.data(), bytes.size()) && ::fdatasync(fd) == 0;
    int failure = errno;
    if (!closeChecked(fd) && written) {
        written = false;
        failure = errno;
    }
    if (written && !syncFolder(QFileInfo(fileName).absolutePath())) {
        written = false;
        failure = errno;
    }
    if (!written) {
        ::unlink(path.constData());
        *error = QStringLiteral("cannot write %1: %2").arg(fileName, reason(failure));
    }
    return written;
}

} // namespace CheckedFile

ReplacementFile::ReplacementFile(const QString &fileName)
    : m_fileName(fileName)
{
    // The file a link leads to is the one replaced, so that the link stays.
    const QFileInfo info(fileName);
    if (info.isSymLink() && info.exists())
        m_fileName = info.canonicalFilePath();
}

ReplacementFile::~ReplacementFile()
{
    discard();
    if (isOpen())
        QIODevice::close();
}

bool ReplacementFile::open()
{
    const QByteArray target = QFile::encodeName(m_fileName);
    struct stat old;
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && ::access(target.constData(), W_OK) != 0)
        return failWith(errno, QString());
    m_tmpPath = target + ".saving-XXXXXX";
    // mkostemp makes the file readable and writable by its owner alone.
    m_fd = ::mkostemp(m_tmpPath.data(), O_CLOEXEC);
    if (m_fd < 0) {
        m_tmpPath.clear();
        return failWith(errno, QStringLiteral("creating a temporary file"));
    }
    if (replacing && ::fchmod(m_fd, old.st_mode & 07777) != 0)
        return failWith(errno, QStringLiteral("giving it the old file's permissions"));
    m_failed = false;
    m_buffer.reserve(bufferSize);
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ReplacementFile::writeData(const char *data, qint64 size)
{
    if (m_failed)
        return -1;
    if (m_buffer.size() + size > bufferSize && !flushBuffer())
        return -1;
    if (size >= bufferSize) {
        if (!writeAll(m_fd, data, size)) {
            failWith(errno, QString());
            return -1;
        }
    } else {
        m_buffer.append(data, size);
    }
    return size;
}

bool ReplacementFile::flushBuffer()
{
    if (!writeAll(m_fd, m_buffer.constData(), m_buffer.size()))
        return failWith(errno, QString());
    m_buffer.clear();
    return true;
}

bool ReplacementFile::commit()
{
    if (m_fd < 0 || m_failed || !flushBuffer())
        return false;
    // The data and what it takes to read it (the size); times need not wait.
    if (::fdatasync(m_fd) != 0)
        return failWith(errno, QStringLiteral("syncing it to disk"));
    const int fd = std::exchange(m_fd, -1);
    if (!closeChecked(fd))
        return failWith(errno, QString());
    if (::rename(m_tmpPath.constData(), QFile::encodeName(m_fileName).constData()) != 0)
        return failWith(errno, QStringLiteral("putting it in place"));
    m_tmpPath.clear();
    QIODevice::close();
    // In place now: a folder that did not reach the disk is still reported,
    // and the caller saves again.
    if (!syncFolder(QFileInfo(m_fileName).absolutePath()))
        return failWith(errno, QStringLiteral("syncing its folder to disk"));
    return true;
}

bool ReplacementFile::failWith(int error, const QString &step)
{
    m_failed = true;
    setErrorString(step.isEmpty() ? reason(error) : QStringLiteral("%1: %2").arg(step, reason(error)));
    discard();
    return false;
}

void ReplacementFile::discard()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_tmpPath.isEmpty())
        ::unlink(std::exchange(m_tmpPath, QByteArray()).constData());
    m_buffer.clear();
}
