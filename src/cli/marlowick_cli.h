// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "cli/command_line.h"

// The commands of the command line (every action of CommandLine but
// starting the program): prints what they come to and returns the exit
// status, 0 done, 1 failed (one line on stderr says why), 2 wrong arguments
// (with a hint), 3 a change not confirmed (sent, but the program ended or
// fell silent before it answered).
//
// A command goes to the program that holds the settings file's writer lock,
// over the socket the lock names. When none runs, add, list and count use
// the stored list themselves (add under the writer lock, waiting while
// another command holds it), quit has nothing to do, and show and toggle
// start the program, detached, with its panel open. None of this connects
// to X but starting the program.
namespace MarlowickCli {

int run(int argc, char **argv, const CommandLine &commandLine);

// Runs the program in this process's place, with the same arguments. The
// program is a binary of its own (libexec/marlowick/marlowick-program
// beside bin/marlowick), so that the commands load none of its libraries. Returns
// (status 1) only when it cannot be run.
int execProgram(char **argv);

} // namespace MarlowickCli
