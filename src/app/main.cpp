// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/marlowick_app.h"
#include "cli/command_line.h"
#include "cli/marlowick_cli.h"

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

int main(int argc, char **argv)
{
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action != CommandLine::Action::StartProgram)
        return MarlowickCli::run(argc, argv, commandLine);
    return MarlowickApp::run(argc, argv, commandLine.opensPanel ? std::optional(commandLine.request) : std::nullopt);
}
