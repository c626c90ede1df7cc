// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "commands/command_request.h"

#include <array>
#include <utility>

namespace {

using Command = CommandRequest::Command;

constexpr std::array<std::pair<Command, const char *>, 6> commandNames{{
    {Command::Add, "add"},
    {Command::List, "list"},
    {Command::Count, "count"},
    {Command::Show, "show"},
    {Command::Toggle, "toggle"},
    {Command::Quit, "quit"},
}};

} // namespace

QString CommandRequest::nameOf(Command command)
{
    for (const auto &[candidate, name] : commandNames) {
        if (candidate == command)
            return QString::fromLatin1(name);
    }
    return QString();
}

std::optional<CommandRequest::Command> CommandRequest::commandNamed(const QString &name)
{
    for (const auto &[command, candidate] : commandNames) {
        if (name == QLatin1String(candidate))
            return command;
    }
    return std::nullopt;
}
