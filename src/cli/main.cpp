// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "cli/command_line.h"
#include "cli/marlowick_cli.h"

int main(int argc, char **argv)
{
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action == CommandLine::Action::StartProgram)
        return MarlowickCli::execProgram(argv);
    return MarlowickCli::run(argc, argv, commandLine);
}
