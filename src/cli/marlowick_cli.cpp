// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "marlowick_cli.h"

#include "request_client.h"
#include "todo_commands.h"

#include "app/display_platform.h"
#include "app/single_instance.h"
#include "app/writer_lock.h"
#include "model/todo_store.h"
#include "storage/todo_storage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace std::chrono_literals;

namespace MarlowickCli {

namespace {

// A Marlowick that holds the list but does not answer yet may be starting.
constexpr auto startingPatience = 3s;
// From starting the program until it answers.
constexpr auto startTimeout = 10s;
// From a quit being answered until the program has ended.
constexpr auto quitTimeout = 5s;
constexpr auto pollInterval = 50ms;

struct Paths {
    QString socket = SingleInstance::defaultSocketPath();
    QString settingsFile = SettingsTodoStorage::defaultFileName();
};

// The settings as a reader sees them: what loading would write back
// (repairs of the stored list) is left to the program that owns the list.
class ReadOnlyStorage : public TodoStorage
{
public:
    explicit ReadOnlyStorage(const QString &fileName)
        : m_storage(fileName)
    {
    }
    Stored read(const QString &key) override { return m_storage.read(key); }
    bool write(const QString &, const QList<TodoItem> &, StoredCopy) override { return true; }
    QString errorString() const override { return QString(); }

private:
    SettingsTodoStorage m_storage;
};

void print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
}

int finish(const CommandReply &reply)
{
    print(stdout, reply.output);
    std::fflush(stdout);
    if (!reply.error.isEmpty()) {
        QString line = reply.error;
        line.replace(u'\n', u' ');
        print(stderr, QStringLiteral("marlowick: %1\n").arg(line));
    }
    if (reply.status == CommandReply::UsageError)
        print(stderr, QStringLiteral("Try \"marlowick --help\".\n"));
    return reply.status;
}

CommandReply heldElsewhere(const WriterLock &lock, const Paths &paths)
{
    return CommandReply::failure(
        QStringLiteral("another Marlowick (%1) uses %2, and it did not answer. If it no longer runs, delete %3.")
            .arg(lock.holder(), paths.settingsFile, lock.fileName()));
}

// Waits for the Marlowick that holds the lock to answer the request (it is
// starting), or for the lock to come free (taken then). None when the lock
// was taken.
std::optional<CommandReply> takeLockOrAsk(WriterLock &lock, const CommandRequest &request, const Paths &paths)
{
    const QDeadlineTimer deadline(startingPatience);
    while (lock.tryLock() == WriterLock::Outcome::HeldElsewhere) {
        if (const auto reply = RequestClient::send(paths.socket, request))
            return reply;
        if (deadline.hasExpired())
            return heldElsewhere(lock, paths);
        QThread::msleep(pollInterval.count());
    }
    // Taken, or it cannot be made at all: then neither can the list be
    // saved, and the save says why.
    return std::nullopt;
}

CommandReply readList(const CommandRequest &request, const Paths &paths)
{
    TodoStore store(std::make_unique<ReadOnlyStorage>(paths.settingsFile));
    if (!store.storageNotice().isEmpty())
        return CommandReply::failure(store.storageNotice());
    return TodoCommands::run(request, store);
}

CommandReply addToList(const CommandRequest &request, const Paths &paths)
{
    WriterLock lock(paths.settingsFile);
    if (const auto reply = takeLockOrAsk(lock, request, paths))
        return *reply;
    TodoStore store(std::make_unique<SettingsTodoStorage>(paths.settingsFile));
    // The program keeps what it cannot read aside and starts afresh; a
    // command adds nothing to a list it cannot see.
    if (!store.storageNotice().isEmpty())
        return CommandReply::failure(store.storageNotice() + QStringLiteral("; nothing was added"));
    return TodoCommands::run(request, store);
}

// Whether the process has ended: it is gone, or a zombie that its parent
// (for a detached one, whoever adopted it) has not reaped.
bool hasEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}

CommandReply startProgram(const CommandRequest &request, const Paths &paths)
{
    {
        WriterLock lock(paths.settingsFile);
        if (const auto reply = takeLockOrAsk(lock, request, paths))
            return *reply;
    }
    char *noArguments[] = {nullptr};
    // The program inherits the choice. The display check's connection is
    // held until the program answers, which it does once it has connected.
    std::optional<X11Display::CheckConnection> displayCheck;
    if (const auto problem = DisplayPlatform::choose(0, noArguments, displayCheck))
        return CommandReply::failure(*problem);
    // As a launcher starts it: in a session of its own, from the home folder.
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments(CommandLine::panelStartArguments(request));
    program.setWorkingDirectory(QDir::homePath());
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!program.startDetached(&pid))
        return CommandReply::failure(
            QStringLiteral("cannot start %1: %2").arg(program.program(), program.errorString()));
    const QDeadlineTimer deadline(startTimeout);
    while (!RequestClient::isListening(paths.socket)) {
        // It says itself why it ended.
        if (hasEnded(pid))
            return CommandReply::failure(QStringLiteral("Marlowick did not start"));
        if (deadline.hasExpired()) {
            return CommandReply::failure(QStringLiteral("Marlowick was started but did not answer within %1 s")
                                             .arg(std::chrono::seconds(startTimeout).count()));
        }
        QThread::msleep(pollInterval.count());
    }
    return CommandReply::success();
}

// The program answers a quit at once and ends soon after; when it has ended,
// its lock is free.
CommandReply awaitEnd(const CommandReply &answer, const Paths &paths)
{
    WriterLock lock(paths.settingsFile);
    const QDeadlineTimer deadline(quitTimeout);
    while (lock.tryLock() == WriterLock::Outcome::HeldElsewhere) {
        if (deadline.hasExpired()) {
            return CommandReply::failure(QStringLiteral("Marlowick was asked to quit but still runs after %1 s")
                                             .arg(std::chrono::seconds(quitTimeout).count()));
        }
        QThread::msleep(pollInterval.count());
    }
    return answer;
}

CommandReply runCommand(const CommandRequest &request)
{
    using Command = CommandRequest::Command;
    const Paths paths;
    if (const auto reply = RequestClient::send(paths.socket, request)) {
        if (request.command == Command::Quit && reply->status == CommandReply::Success)
            return awaitEnd(*reply, paths);
        return *reply;
    }
    switch (request.command) {
    case Command::List:
    case Command::Count:
        return readList(request, paths);
    case Command::Add:
        return addToList(request, paths);
    case Command::Show:
    case Command::Toggle:
        return startProgram(request, paths);
    case Command::Quit:
        return {CommandReply::Success, {}, QStringLiteral("Marlowick is not running")};
    }
    return CommandReply::usageError(QStringLiteral("unknown command"));
}

} // namespace

int execProgram(char **argv)
{
#ifdef MARLOWICK_PROGRAM_DIR
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString program = QFileInfo(self.canonicalFilePath()).absolutePath()
        + QStringLiteral("/" MARLOWICK_PROGRAM_DIR "/marlowick-program");
    const QByteArray path = QFile::encodeName(QDir::cleanPath(program));
    ::execv(path.constData(), argv);
    std::fprintf(stderr, "marlowick: cannot start %s: %s\n", path.constData(), std::strerror(errno));
#else
    Q_UNUSED(argv);
    std::fprintf(stderr, "marlowick: this binary cannot start the program\n");
#endif
    return 1;
}

int run(int argc, char **argv, const CommandLine &commandLine)
{
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
        print(stdout, CommandLine::helpText());
        return 0;
    case CommandLine::Action::ShowVersion:
        print(stdout, CommandLine::versionText());
        return 0;
    case CommandLine::Action::UsageError:
        return finish(CommandReply::usageError(commandLine.error));
    case CommandLine::Action::StartProgram: // not a command: main() starts it
    case CommandLine::Action::RunCommand:
        break;
    }
    // No GUI: nothing here opens a display.
    QCoreApplication app(argc, argv);
    // What the store says of a list it cannot read is for the program's
    // log; a command says it in its one line.
    QLoggingCategory::setFilterRules(QStringLiteral("marlowick.store.warning=false"));
    QCoreApplication::setApplicationName(QStringLiteral("marlowick"));
    QCoreApplication::setOrganizationName(QStringLiteral("marlowick"));
    return finish(runCommand(commandLine.request));
}

} // namespace MarlowickCli
