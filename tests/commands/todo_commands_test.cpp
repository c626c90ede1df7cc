// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "commands/todo_commands.h"
#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "storage/memory_todo_storage.h"
#include "storage/todo_list_codec.h"

#include "support/model/test_instants.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CommandRequest request(CommandRequest::Command command, const QString &day = u"today"_s, const QString &title = {})
{
    CommandRequest r;
    r.command = command;
    r.day = day;
    r.title = title;
    return r;
}

} // namespace

class TodoCommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addsListsAndCountsTheNamedDay()
    {
        using Command = CommandRequest::Command;
        const QTimeZone zone("America/New_York");
        MemoryTodoStorage::Contents memory;
        TodoStore store(std::make_unique<MemoryTodoStorage>(&memory), [&] { return instantAt(zone, 2026, 3, 7, 9); });

        QCOMPARE(TodoCommands::run(request(Command::Add, u"today"_s, u"  Buy milk \n"_s), store).status, 0);
        QCOMPARE(TodoCommands::run(request(Command::Add, u"+1"_s, u"Pay rent"_s), store).status, 0);
        QCOMPARE(TodoCommands::run(request(Command::Add, u"today"_s, u"a\r\nb\u001bc\u2028d"_s), store).status, 0);
        store.toggleCompletion(store.items().first());
        QCOMPARE(store.items().last().title, u"Buy milk"_s);
        QCOMPARE(store.items().last().date, instantAt(zone, 2026, 3, 7));
        QCOMPARE(memory.writes, 4);

        QCOMPARE(TodoCommands::run(request(Command::List), store).output, u"[x] a\\nb\\x1bc\\nd\n[ ] Buy milk\n"_s);
        CommandRequest json = request(Command::List, u"tomorrow"_s);
        json.json = true;
        const auto tomorrow = TodoListCodec::decode(TodoCommands::run(json, store).output.toUtf8());
        QCOMPARE(tomorrow.value().value(0).title, u"Pay rent"_s);
        CommandRequest open = request(Command::Count);
        open.openOnly = true;
        QCOMPARE(TodoCommands::run(open, store).output, u"1\n"_s);
        QCOMPARE(TodoCommands::run(request(Command::Count), store).output, u"2\n"_s);
        QCOMPARE(TodoCommands::run(request(Command::Count, u"-1"_s), store).output, u"0\n"_s);

        // Refused: nothing is added or saved.
        const CommandReply blank = TodoCommands::run(request(Command::Add, u"today"_s, u" \n"_s), store);
        const CommandReply long20k = TodoCommands::run(request(Command::Add, u"today"_s, QString(20000, u'x')), store);
        const CommandReply noDay = TodoCommands::run(request(Command::Add, u"+99999999"_s, u"x"_s), store);
        // The day of the Unix epoch, which loading moves to today.
        const QString epochDay = QDateTime::fromSecsSinceEpoch(0).date().toString(Qt::ISODate);
        const CommandReply moved = TodoCommands::run(request(Command::Add, epochDay, u"x"_s), store);
        QCOMPARE(QList<int>({blank.status, long20k.status, noDay.status, moved.status}),
                 QList<int>(4, CommandReply::UsageError));
        QVERIFY2(long20k.error.contains(u"20000"_s), qPrintable(long20k.error));
        QVERIFY2(moved.error.contains(u"Unix epoch"_s), qPrintable(moved.error));
        QCOMPARE(store.items().size(), 3);

        // A save that fails is a failure, with its reason.
        memory.writeError = u"No space left on device"_s;
        const CommandReply unsaved = TodoCommands::run(request(Command::Add, u"today"_s, u"Post"_s), store);
        QCOMPARE(unsaved.status, CommandReply::Failure);
        QCOMPARE(unsaved.error, u"Not saved: No space left on device"_s);
    }
};

QTEST_GUILESS_MAIN(TodoCommandsTest)
#include "todo_commands_test.moc"
