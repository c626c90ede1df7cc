// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/recovery_file.h"

#include "storage/json_list_writer.h"
#include "storage/new_file.h"
#include "storage/settings_file_text.h"
#include "storage/xdg_base_folders.h"

namespace RecoveryFile {

QString folder()
{
    return XdgBaseFolders::stateHome() + QStringLiteral("/marlowick");
}

std::optional<QString> write(const QString &key, const QList<TodoItem> &items, QString *error)
{
    const auto value = JsonListWriter::settingsValue(items);
    if (!value) {
        *error = QStringLiteral("a date of a to-do is not a number");
        return std::nullopt;
    }
    SettingsFileText file;
    file.setRawValue(key.toUtf8(), *value);
    return NewFile::write(folder(), QStringLiteral("unsaved-") + NewFile::timeStamp(), QStringLiteral(".conf"),
                          file.text(), error);
}

} // namespace RecoveryFile
