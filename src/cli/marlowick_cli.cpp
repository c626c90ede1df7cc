// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "cli/marlowick_cli.h"

#include "commands/todo_commands.h"
#include "instance/request_client.h"
#include "instance/socket_peer.h"

#include "instance/display_platform.h"
#include "instance/writer_lock.h"
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
#include <QUuid>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace MarlowickCli {

namespace {

// How long a command waits for whoever holds the list (another command
// for a moment, a program that is starting) while that one is there.
constexpr auto holderPatience = 60s;
// From starting the program until it answers.
constexpr auto startTimeout = 10s;
// From a quit being answered until the program has ended.
constexpr auto quitTimeout = 5s;
constexpr auto pollInterval = 10ms;
// How often a request goes again to a program that closes the connection
// without an answer (it turns clients away when it has too many).
constexpr int maxSends = 20;

using Command = CommandRequest::Command;

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

bool print(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
}

// Set when the command started with its standard output closed.
bool outputClosed = false;

// A closed standard stream would be taken by the next file the command
// opens, and what is meant for it written there: each is kept open on
// /dev/null, and output for a closed one is a failure.
void holdClosedStandardStreams()
{
    outputClosed = ::fcntl(STDOUT_FILENO, F_GETFD) < 0;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0)
            ::open("/dev/null", O_RDWR); // takes the lowest free descriptor: this one
    }
}

int finish(CommandReply reply)
{
    errno = outputClosed ? EBADF : 0;
    const bool written =
        reply.output.isEmpty() || (!outputClosed && print(stdout, reply.output) && std::fflush(stdout) == 0);
    if (!written && reply.error.isEmpty()) {
        reply = CommandReply::failure(QStringLiteral("cannot write the output: %1")
                                          .arg(QString::fromLocal8Bit(std::strerror(errno ? errno : EIO))));
    }
    if (!reply.error.isEmpty()) {
        QString line = reply.error;
        line.replace(u'\n', u' ');
        print(stderr, QStringLiteral("marlowick: %1\n").arg(line));
    }
    if (reply.status == CommandReply::UsageError)
        print(stderr, QStringLiteral("Try \"marlowick --help\".\n"));
    return reply.status;
}

CommandReply notConfirmed(const QString &why)
{
    return {CommandReply::NotConfirmed,
            {},
            why + QStringLiteral("; the change is not confirmed: look whether it was made before trying again")};
}

// Whoever holds the list has not let go of it for the whole patience.
CommandReply heldTooLong(const std::optional<WriterLock::Holder> &holder, const WriterLock &lock)
{
    if (!holder)
        return CommandReply::failure(
            QStringLiteral("%1 is held, and who holds it cannot be read").arg(lock.fileName()));
    if (!holder->socketName.isEmpty()) {
        return CommandReply::failure(
            QStringLiteral("the running Marlowick (%1) holds the list but does not answer").arg(holder->description()));
    }
    return CommandReply::failure(QStringLiteral("%1 has held the list for %2 s and still holds it (%3)")
                                     .arg(holder->description())
                                     .arg(std::chrono::seconds(holderPatience).count())
                                     .arg(lock.fileName()));
}

CommandReply heldOnAnotherMachine(const WriterLock::Holder &holder, const WriterLock &lock)
{
    return CommandReply::failure(
        QStringLiteral("Marlowick runs with this list on another machine (%1), and commands reach only a Marlowick "
                       "on this one. If it no longer runs, delete %2.")
            .arg(holder.description(), lock.fileName()));
}

CommandReply readList(const CommandRequest &request, const QString &settingsFile)
{
    TodoStore store(std::make_unique<ReadOnlyStorage>(settingsFile));
    if (!store.storageNotice().isEmpty())
        return CommandReply::failure(store.storageNotice());
    return TodoCommands::run(request, store);
}

// With the writer lock held (or none to be had: then neither can the list
// be saved, and the save says why).
CommandReply addToList(const CommandRequest &request, const QString &settingsFile)
{
    TodoStore store(std::make_unique<SettingsTodoStorage>(settingsFile));
    // The program keeps what it cannot read aside and starts afresh; a
    // command adds nothing to a list it cannot see.
    if (!store.storageNotice().isEmpty())
        return CommandReply::failure(store.storageNotice() + QStringLiteral("; nothing was added"));
    return TodoCommands::run(request, store);
}

// Whether the file descriptor is a pipe: its reader waits until every
// writer has closed it, as a shell's $(...) does.
bool isPipe(int fd)
{
    struct stat status {
    };
    return ::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode);
}

CommandReply startProgram(const CommandRequest &request, const WriterLock &lock)
{
    char *noArguments[] = {nullptr};
    // The program inherits the choice. The display check's connection is
    // held until the program answers, which it does once it has connected.
    std::optional<X11Display::CheckConnection> displayCheck;
    if (const auto problem = DisplayPlatform::choose(0, noArguments, displayCheck))
        return CommandReply::failure(*problem);
    // As a launcher starts it: in a session of its own, from the home
    // folder, holding none of the caller's pipes, which would keep the
    // caller waiting for the program's end. Its warnings still go where
    // the caller's go when that is a terminal, a file or the journal.
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments(CommandLine::panelStartArguments(request));
    program.setWorkingDirectory(QDir::homePath());
    program.setStandardInputFile(QProcess::nullDevice());
    program.setStandardOutputFile(QProcess::nullDevice());
    if (isPipe(STDERR_FILENO))
        program.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!program.startDetached(&pid))
        return CommandReply::failure(
            QStringLiteral("cannot start %1: %2").arg(program.program(), program.errorString()));
    // It listens once it holds the list: then it has the request in hand.
    const QDeadlineTimer deadline(startTimeout);
    while (true) {
        const auto holder = lock.holder();
        if (holder && !holder->socketName.isEmpty())
            return CommandReply::success();
        // It says itself why it ended.
        if (!SocketPeer::isRunning(pid))
            return CommandReply::failure(QStringLiteral("Marlowick did not start"));
        if (deadline.hasExpired()) {
            return CommandReply::failure(QStringLiteral("Marlowick was started but did not answer within %1 s")
                                             .arg(std::chrono::seconds(startTimeout).count()));
        }
        QThread::msleep(pollInterval.count());
    }
}

// The program answers a quit at once and ends soon after; when it has ended,
// its lock is free.
CommandReply awaitEnd(const CommandReply &answer, WriterLock &lock)
{
    const QDeadlineTimer deadline(quitTimeout);
    while (lock.tryLock() == WriterLock::Outcome::HeldElsewhere) {
        if (deadline.hasExpired()) {
            return CommandReply::failure(QStringLiteral("Marlowick was asked to quit but still runs after %1 s")
                                             .arg(std::chrono::seconds(quitTimeout).count()));
        }
        QThread::msleep(pollInterval.count());
    }
    lock.unlock();
    return answer;
}

// What a command does itself, holding the writer lock, when no program runs.
CommandReply runWithoutProgram(const CommandRequest &request, WriterLock &lock, const QString &settingsFile)
{
    switch (request.command) {
    case Command::Add:
        return addToList(request, settingsFile);
    case Command::Show:
    case Command::Toggle:
        lock.unlock();
        return startProgram(request, lock);
    case Command::Quit:
        return {CommandReply::Success, {}, QStringLiteral("Marlowick is not running")};
    case Command::List:
    case Command::Count:
        break;
    }
    return readList(request, settingsFile);
}

// Pauses between looks at the lock, a little different for each command, so
// that many waiting at once do not look all together.
void pause()
{
    static const auto jitter = ulong(QCoreApplication::applicationPid() % 7);
    QThread::msleep(ulong(pollInterval.count()) + jitter);
}

// A command goes to the program that holds the list, found through the
// writer lock. When none does, list and count read the stored list, and the
// others take the lock and act themselves; a command that holds the lock for
// a moment is waited for.
CommandReply runCommand(CommandRequest request)
{
    request.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString settingsFile = SettingsTodoStorage::defaultFileName();
    WriterLock lock(settingsFile);
    // The program that has the change but closed the connection before it
    // answered: it is asked again (it carries out each change once), and
    // no other may carry the change out.
    qint64 askedPid = 0;
    int sends = 0;
    qint64 awaitedPid = -1;
    QDeadlineTimer patience(holderPatience);
    while (true) {
        const auto holder = lock.holder();
        const bool isProgram = holder && holder->onThisMachine && !holder->socketName.isEmpty();
        if (isProgram) {
            const auto exchange = RequestClient::send(holder->socketName, request);
            using Result = RequestClient::Exchange::Result;
            switch (exchange.result) {
            case Result::Answered:
                if (request.command == Command::Quit && exchange.reply.status == CommandReply::Success)
                    return awaitEnd(exchange.reply, lock);
                return exchange.reply;
            case Result::Silent:
                return request.isChange() ? notConfirmed(exchange.reply.error) : exchange.reply;
            case Result::Failed:
                return exchange.reply;
            case Result::Closed:
                if (++sends >= maxSends)
                    return request.isChange() ? notConfirmed(exchange.reply.error) : exchange.reply;
                askedPid = exchange.peerPid;
                break;
            case Result::NotListening: // ending, or about to listen
                break;
            }
        }
        if (!request.isChange() && !(isProgram && askedPid != 0))
            return readList(request, settingsFile);
        if (askedPid != 0 && (!holder || holder->pid != askedPid)) {
            if (request.command == Command::Add)
                return notConfirmed(QStringLiteral("Marlowick ended before it answered"));
            askedPid = 0;
        }
        if (askedPid == 0) {
            switch (lock.tryLock()) {
            case WriterLock::Outcome::Locked:
            case WriterLock::Outcome::Failed:
                return runWithoutProgram(request, lock, settingsFile);
            case WriterLock::Outcome::HeldElsewhere:
                break;
            }
        }
        if (holder && !holder->onThisMachine)
            return heldOnAnotherMachine(*holder, lock);
        const qint64 holderPid = holder ? holder->pid : 0;
        if (holderPid != awaitedPid) {
            awaitedPid = holderPid;
            patience = QDeadlineTimer(holderPatience);
        }
        if (patience.hasExpired())
            return heldTooLong(holder, lock);
        pause();
    }
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
    holdClosedStandardStreams();
    // No GUI: nothing here opens a display.
    QCoreApplication app(argc, argv);
    // What the store says of a list it cannot read is for the program's
    // log; a command says it in its one line.
    QLoggingCategory::setFilterRules(QStringLiteral("marlowick.store.warning=false\nmarlowick.storage.warning=false"));
    QCoreApplication::setApplicationName(QStringLiteral("marlowick"));
    QCoreApplication::setOrganizationName(QStringLiteral("marlowick"));
    return finish(runCommand(commandLine.request));
}

} // namespace MarlowickCli
