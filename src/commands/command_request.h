// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

// One command of the command line, as the running program or the command
// line itself carries it out.
struct CommandRequest {
    enum class Command { Add, List, Count, Show, Toggle, Quit };

    Command command = Command::Show;
    // add: the title as given, its words joined by spaces.
    QString title;
    // add, list, count: the day as given (see DayArgument).
    QString day = QStringLiteral("today");
    bool json = false;     // list --json
    bool openOnly = false; // count --open
    bool addField = false; // show --add
    // Told apart from every other request: the program carries out a
    // request once, however often it comes (a command sends it again when
    // the connection broke before the answer), and answers each time what
    // it answered first.
    QString id;

    // Whether carrying it out twice would differ from once (add, show,
    // toggle, quit): what the program answers those, it remembers.
    bool isChange() const { return command != Command::List && command != Command::Count; }

    static QString nameOf(Command command);
    static std::optional<Command> commandNamed(const QString &name);
};

// What a command comes to: the exit status, what it prints on stdout, and
// for a failure the reason, one line for stderr.
struct CommandReply {
    // NotConfirmed: the request went out, and what came of it is unknown
    // (the program ended or stopped answering before it answered).
    enum Status { Success = 0, Failure = 1, UsageError = 2, NotConfirmed = 3 };

    int status = Success;
    QString output;
    QString error;

    static CommandReply success(const QString &output = {}) { return {Success, output, {}}; }
    static CommandReply failure(const QString &error) { return {Failure, {}, error}; }
    static CommandReply usageError(const QString &error) { return {UsageError, {}, error}; }
};
