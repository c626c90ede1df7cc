// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/marlowick_app.h"
#include "cli/command_line.h"
#include "cli/marlowick_cli.h"
#include "storage/xdg_base_folders.h"

#include <csignal>

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    // A file-size limit makes a write fail with EFBIG, which a save reports,
    // rather than end the program halfway through it.
    std::signal(SIGXFSZ, SIG_IGN);
    XdgBaseFolders::dropRelativePaths();
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action != CommandLine::Action::StartProgram)
        return MarlowickCli::run(argc, argv, commandLine);
    return MarlowickApp::run(argc, argv, commandLine.opensPanel ? std::optional(commandLine.request) : std::nullopt);
}
