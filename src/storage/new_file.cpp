// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "new_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <unistd.h>

namespace NewFile {

QString timeStamp()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

std::optional<QString> write(const QString &folder, const QString &name, const QString &extension, QByteArrayView bytes,
                             QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return std::nullopt;
    }
    for (int n = 1;; ++n) {
        const QString path = QDir(folder).filePath(n == 1 ? name + extension
                                                          : QStringLiteral("%1-%2%3").arg(name).arg(n).arg(extension));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner)) {
            if (file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush() && ::fsync(file.handle()) == 0)
                return path;
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
            file.remove();
            return std::nullopt;
        }
        if (!file.exists()) {
            *error = QStringLiteral("cannot create %1: %2").arg(path, file.errorString());
            return std::nullopt;
        }
    }
}

} // namespace NewFile
