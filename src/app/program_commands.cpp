// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/program_commands.h"

#include "app/app_delegate.h"

#include "commands/todo_commands.h"
#include "model/todo_store.h"

namespace ProgramCommands {

CommandReply run(const CommandRequest &request, AppDelegate &delegate)
{
    using Command = CommandRequest::Command;
    switch (request.command) {
    case Command::Show:
        if (request.addField)
            delegate.showAddField();
        else
            delegate.showPanel();
        return CommandReply::success();
    case Command::Toggle:
        delegate.togglePanel();
        return CommandReply::success();
    case Command::Quit:
        // After the answer has gone out.
        QMetaObject::invokeMethod(&delegate, &AppDelegate::quitApp, Qt::QueuedConnection);
        return CommandReply::success();
    case Command::Add:
    case Command::List:
    case Command::Count:
        if (!delegate.store())
            return CommandReply::failure(QStringLiteral("Marlowick is still starting"));
        return TodoCommands::run(request, *delegate.store());
    }
    return CommandReply::usageError(QStringLiteral("unknown command"));
}

QList<CommandReply> run(const QList<CommandRequest> &requests, AppDelegate &delegate)
{
    TodoStore *store = delegate.store();
    if (store)
        store->holdSaves();
    QList<CommandReply> replies;
    for (const CommandRequest &request : requests)
        replies.append(run(request, delegate));
    if (!store)
        return replies;
    store->releaseSaves();
    if (!store->isSaved()) {
        for (qsizetype i = 0; i < requests.size(); ++i) {
            if (requests.at(i).command == CommandRequest::Command::Add && replies.at(i).status == CommandReply::Success)
                replies[i] = CommandReply::failure(store->storageNotice());
        }
    }
    return replies;
}

} // namespace ProgramCommands
