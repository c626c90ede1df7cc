// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "cli/command_line.h"

#include "commands/day_argument.h"
#include "commands/todo_commands.h"

#include <QStringDecoder>

#include <clocale>
#include <cstring>
#include <cwchar>
#include <langinfo.h>
#include <optional>

namespace {

using Command = CommandRequest::Command;

// Used by show and toggle to start the program; not for people.
const QString openPanelOption = QStringLiteral("--open-panel");
const QString openPanelAddOption = QStringLiteral("--open-panel=add");

// The argument as the locale's encoding reads it; none when its bytes are
// not text in it. The C locale's ASCII is read as UTF-8, as Qt reads file
// names then; a leading byte order mark is kept, as a field keeps it.
std::optional<QString> decodeArgument(const char *bytes)
{
    static const bool localeSet = std::setlocale(LC_CTYPE, "") != nullptr;
    Q_UNUSED(localeSet);
    const QByteArray codeset(::nl_langinfo(CODESET));
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") {
        QStringDecoder utf8(QStringDecoder::Utf8,
                            QStringDecoder::Flag::ConvertInitialBom | QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(QByteArrayView(bytes));
        return utf8.hasError() ? std::nullopt : std::optional(text);
    }
    std::mbstate_t state{};
    const char *end = bytes + std::strlen(bytes);
    QList<char32_t> characters;
    while (bytes < end) {
        wchar_t character = 0;
        const size_t used = std::mbrtowc(&character, bytes, size_t(end - bytes), &state);
        if (used == size_t(-1) || used == size_t(-2))
            return std::nullopt;
        characters.append(char32_t(character));
        bytes += std::max<size_t>(used, 1);
    }
    return QString::fromUcs4(characters.constData(), characters.size());
}

CommandLine usageError(const QString &error)
{
    CommandLine line;
    line.action = CommandLine::Action::UsageError;
    line.error = error;
    return line;
}

CommandLine ofAction(CommandLine::Action action)
{
    CommandLine line;
    line.action = action;
    return line;
}

bool takesDay(Command command)
{
    return command == Command::Add || command == Command::List || command == Command::Count;
}

// The flag option of the command (--json, --open, --add), or none.
bool *flagOf(Command command, CommandRequest &request, const QString &option)
{
    if (command == Command::List && option == QLatin1String("--json"))
        return &request.json;
    if (command == Command::Count && option == QLatin1String("--open"))
        return &request.openOnly;
    if (command == Command::Show && option == QLatin1String("--add"))
        return &request.addField;
    return nullptr;
}

CommandLine parseCommand(Command command, const QStringList &arguments)
{
    const QString name = CommandRequest::nameOf(command);
    CommandLine line;
    line.action = CommandLine::Action::RunCommand;
    line.request.command = command;
    QStringList titleWords;
    bool dayGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            if (command != Command::Add)
                return usageError(QStringLiteral("%1 takes no argument \"%2\"").arg(name, argument));
            titleWords.append(argument);
            continue;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString option = argument.left(equals);
        if (option == QLatin1String("--help"))
            return ofAction(CommandLine::Action::ShowHelp);
        if (option == QLatin1String("--day") && takesDay(command)) {
            if (dayGiven)
                return usageError(QStringLiteral("--day is given twice"));
            dayGiven = true;
            if (equals >= 0)
                line.request.day = argument.mid(equals + 1);
            else if (i + 1 < arguments.size())
                line.request.day = arguments.at(++i);
            else
                return usageError(QStringLiteral("--day needs a day: %1").arg(DayArgument::forms()));
            if (!DayArgument::isWellFormed(line.request.day)) {
                return usageError(
                    QStringLiteral("\"%1\" is not a day: use %2").arg(line.request.day, DayArgument::forms()));
            }
            continue;
        }
        bool *flag = flagOf(command, line.request, option);
        if (!flag)
            return usageError(QStringLiteral("%1 has no option %2").arg(name, option));
        if (equals >= 0)
            return usageError(QStringLiteral("%1 takes no value").arg(option));
        *flag = true;
    }
    if (command == Command::Add) {
        if (titleWords.isEmpty())
            return usageError(QStringLiteral("add needs the title of the to-do"));
        line.request.title = titleWords.join(u' ');
        const QString problem = TodoCommands::titleProblem(line.request.title);
        if (!problem.isEmpty())
            return usageError(problem);
    }
    return line;
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return ofAction(Action::StartProgram);
    const QString &first = arguments.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return ofAction(Action::ShowHelp);
    if (first == QLatin1String("--version"))
        return ofAction(Action::ShowVersion);
    if (first == openPanelOption || first == openPanelAddOption) {
        CommandLine line;
        line.opensPanel = true;
        line.request.addField = first == openPanelAddOption;
        return line;
    }
    if (first.startsWith(QLatin1String("--")))
        return usageError(QStringLiteral("unknown option %1").arg(first));
    if (first.startsWith(u'-'))
        return ofAction(Action::StartProgram); // Qt's own options
    const auto command = CommandRequest::commandNamed(first);
    if (!command)
        return usageError(QStringLiteral("unknown command \"%1\"").arg(first));
    return parseCommand(*command, arguments.mid(1));
}

CommandLine CommandLine::parse(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const auto argument = decodeArgument(argv[i]);
        if (!argument) {
            return usageError(QStringLiteral("argument %1 is not text in the locale's encoding (%2)")
                                  .arg(i)
                                  .arg(QString::fromLatin1(::nl_langinfo(CODESET))));
        }
        arguments.append(*argument);
    }
    return parse(arguments);
}

QStringList CommandLine::panelStartArguments(const CommandRequest &request)
{
    return {request.addField ? openPanelAddOption : openPanelOption};
}

QString CommandLine::helpText()
{
    return QStringLiteral("Usage: marlowick [COMMAND [ARGUMENTS]]\n"
                          "\n"
                          "A to-do list that drops down from the top of the screen. Without a command,\n"
                          "start Marlowick; when it runs already, open its panel.\n"
                          "\n"
                          "Commands:\n"
                          "  add TITLE... [--day DAY]     add a to-do (the words joined by spaces) to DAY\n"
                          "  list [--day DAY] [--json]    print DAY's to-dos in the panel's order, one a line,\n"
                          "                               \"[ ] title\" or \"[x] title\"; --json: as stored\n"
                          "  count [--day DAY] [--open]   print how many to-dos DAY has; --open: not completed\n"
                          "  show [--add]                 open the panel; --add: with the add field focused\n"
                          "  toggle                       open or close the panel\n"
                          "  quit                         end the running Marlowick\n"
                          "\n"
                          "DAY is today (the default), yesterday, tomorrow, a date YYYY-MM-DD, or +N / -N\n"
                          "days from today.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help                   show this help\n"
                          "  --version                    show the version\n"
                          "\n"
                          "When Marlowick runs, each command goes to it and its open panel shows the\n"
                          "change. Without it, add, list and count use the stored list themselves, and\n"
                          "show and toggle start Marlowick. add, list, count and quit need no display.\n"
                          "\n"
                          "Exit status: 0 done, 1 failed (the reason on stderr), 2 wrong arguments,\n"
                          "3 not confirmed (add reached Marlowick, which did not answer).\n");
}

QString CommandLine::versionText()
{
    return QStringLiteral("marlowick " MARLOWICK_VERSION "\n");
}
