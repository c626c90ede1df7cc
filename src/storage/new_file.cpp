// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/new_file.h"

#include "storage/checked_file.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace NewFile {

QString timeStamp()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

std::optional<QString> write(const QString &folder, const QString &name, const QString &extension, QByteArrayView bytes,
                             QString *error)
{
    if (!CheckedFile::makeFolder(folder, error))
        return std::nullopt;
    for (int n = 1;; ++n) {
        const QString path = QDir(folder).filePath(n == 1 ? name + extension
                                                          : QStringLiteral("%1-%2%3").arg(name).arg(n).arg(extension));
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        if (CheckedFile::writeNew(path, bytes, error))
            return path;
        // Taken by another writer in between: the next name.
        if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path))
            return std::nullopt;
    }
}

} // namespace NewFile
