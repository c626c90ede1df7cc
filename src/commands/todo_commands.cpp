// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "commands/todo_commands.h"

#include "commands/day_argument.h"

#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "storage/todo_list_codec.h"

namespace TodoCommands {

namespace {

// Line breaks as Unicode counts them: LF, VT, FF, CR (CR LF as one), NEL,
// and the line and paragraph separators.
bool isLineBreak(char16_t c)
{
    return (c >= 0x0a && c <= 0x0d) || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Characters that would move the cursor or drive a terminal.
bool isControl(char16_t c)
{
    return (c < 0x20 && c != u'\t') || (c >= 0x7f && c <= 0x9f);
}

// The line for one to-do: "[ ] title" or "[x] title", the title on one line
// (line breaks shown as \n, other control characters as \xHH).
QString listLine(const TodoItem &item)
{
    QString line = item.isCompleted ? QStringLiteral("[x] ") : QStringLiteral("[ ] ");
    line.reserve(line.size() + item.title.size());
    const QString &title = item.title;
    for (qsizetype i = 0; i < title.size(); ++i) {
        const char16_t c = title.at(i).unicode();
        if (isLineBreak(c)) {
            if (c == u'\r' && i + 1 < title.size() && title.at(i + 1) == u'\n')
                ++i;
            line += QLatin1String("\\n");
        } else if (isControl(c)) {
            line += QStringLiteral("\\x%1").arg(int(c), 2, 16, QLatin1Char('0'));
        } else {
            line += QChar(c);
        }
    }
    return line;
}

std::optional<double> dayOf(const CommandRequest &request, const TodoStore &store, CommandReply *refusal)
{
    const auto day = DayArgument::resolve(request.day, sharedCalendar(), store.now());
    if (!day) {
        *refusal = CommandReply::usageError(
            DayArgument::isWellFormed(request.day)
                ? QStringLiteral("there is no day \"%1\" in the calendar").arg(request.day)
                : QStringLiteral("\"%1\" is not a day: use %2").arg(request.day, DayArgument::forms()));
    }
    return day;
}

CommandReply add(const CommandRequest &request, TodoStore &store)
{
    const QString problem = titleProblem(request.title);
    if (!problem.isEmpty())
        return CommandReply::usageError(problem);
    CommandReply refusal;
    const auto day = dayOf(request, store, &refusal);
    if (!day)
        return refusal;
    if (const auto moved = TodoStore::dayMovedToToday(); moved && moved->contains(*day)) {
        return CommandReply::usageError(
            QStringLiteral("\"%1\" is the day of the Unix epoch, which the list takes for a broken clock's: "
                           "its to-dos move to today")
                .arg(request.day));
    }
    if (!store.addTodoOnDay(request.title, *day))
        return CommandReply::failure(QStringLiteral("the to-do was not added"));
    // Held, the save comes with the batch; its caller tells how it went.
    if (!store.areSavesHeld() && !store.isSaved())
        return CommandReply::failure(store.storageNotice());
    return CommandReply::success();
}

CommandReply list(const CommandRequest &request, const TodoStore &store)
{
    CommandReply refusal;
    const auto day = dayOf(request, store, &refusal);
    if (!day)
        return refusal;
    const QList<TodoItem> items = store.itemsForDay(*day);
    if (request.json) {
        const auto json = TodoListCodec::encode(items);
        if (!json)
            return CommandReply::failure(QStringLiteral("a to-do of that day holds a date that is not a number"));
        return CommandReply::success(QString::fromUtf8(*json) + u'\n');
    }
    QString output;
    for (const TodoItem &item : items)
        output += listLine(item) + u'\n';
    return CommandReply::success(output);
}

CommandReply count(const CommandRequest &request, const TodoStore &store)
{
    CommandReply refusal;
    const auto day = dayOf(request, store, &refusal);
    if (!day)
        return refusal;
    qsizetype count = 0;
    for (const TodoItem &item : store.itemsForDay(*day)) {
        if (!request.openOnly || !item.isCompleted)
            ++count;
    }
    return CommandReply::success(QString::number(count) + u'\n');
}

} // namespace

QString titleProblem(const QString &title)
{
    if (TodoStore::isBlankTitle(title))
        return QStringLiteral("the title is blank");
    const qsizetype characters = TodoStore::titleLength(QStringView(title).trimmed());
    if (characters > TodoStore::maxTitleLength) {
        return QStringLiteral("the title is %1 characters long; a to-do takes at most %2")
            .arg(characters)
            .arg(TodoStore::maxTitleLength);
    }
    return QString();
}

CommandReply run(const CommandRequest &request, TodoStore &store)
{
    switch (request.command) {
    case CommandRequest::Command::Add:
        return add(request, store);
    case CommandRequest::Command::List:
        return list(request, store);
    case CommandRequest::Command::Count:
        return count(request, store);
    default:
        return CommandReply::usageError(
            QStringLiteral("\"%1\" does not read or change the list").arg(CommandRequest::nameOf(request.command)));
    }
}

} // namespace TodoCommands
