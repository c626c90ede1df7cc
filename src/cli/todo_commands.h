#pragma once

#include "command_request.h"

class TodoStore;
struct TodoItem;

// The commands that read or change the list (add, list, count), carried out
// on a store: the running program's own, whose open panel then shows the
// change, or one the command line opened itself. Days are named from the
// store's clock, in the shared calendar.
namespace TodoCommands {

// Why the title cannot be added (blank, or longer than a field takes), or
// empty when it can.
QString titleProblem(const QString &title);

// The line for one to-do: "[ ] title" or "[x] title", the title on one line
// (line breaks shown as \n, other control characters as \xHH).
QString listLine(const TodoItem &item);

CommandReply run(const CommandRequest &request, TodoStore &store);

} // namespace TodoCommands
