// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/xdg_base_folders.h"

#include <QDir>

namespace XdgBaseFolders {

namespace {

QString folder(const char *variable, const QString &fromHome)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + fromHome;
}

} // namespace

QString configHome()
{
    return folder("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString stateHome()
{
    return folder("XDG_STATE_HOME", QStringLiteral("/.local/state"));
}

void dropRelativePaths()
{
    for (const char *variable :
         {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CACHE_HOME"}) {
        if (qEnvironmentVariableIsSet(variable) && !QDir::isAbsolutePath(qEnvironmentVariable(variable)))
            qunsetenv(variable);
    }
}

} // namespace XdgBaseFolders
