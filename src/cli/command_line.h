// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "commands/command_request.h"

#include <QStringList>

// What the program's arguments ask for:
//
//   marlowick                              start (when running: open its panel)
//   marlowick add TITLE... [--day DAY]     and the other commands of helpText()
//   marlowick --help | --version
//
// Arguments that start with a single dash before any command are Qt's own
// (-platform, -display, ...): the program starts with them.
struct CommandLine {
    enum class Action { StartProgram, RunCommand, ShowHelp, ShowVersion, UsageError };

    Action action = Action::StartProgram;
    // RunCommand: the command. StartProgram with opensPanel: how the panel
    // opens once the program has started (show, or show --add).
    CommandRequest request;
    // A start made by show or toggle when no program was running: it opens
    // the panel as soon as it is ready.
    bool opensPanel = false;
    // UsageError: what is wrong, one line.
    QString error;

    // The arguments after the program's name.
    static CommandLine parse(const QStringList &arguments);
    static CommandLine parse(int argc, char **argv);
    // The arguments of a start that opens the panel as the request asks.
    static QStringList panelStartArguments(const CommandRequest &request);

    static QString helpText();
    static QString versionText();
};
