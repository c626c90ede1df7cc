// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// How long the marlowick command takes, beside /bin/true in the same run:
//
//   bench_commands MARLOWICK [ROUNDS]
//
// With 10,000 to-dos stored: count and add while the program runs (it
// answers over its socket; started here on Qt's offscreen platform, so no X
// server is needed) and while none runs (the command reads the list, or adds
// to it under the writer lock, itself); --version shows what loading the
// program alone costs. Wall time from spawning the process to reaping it:
// minimum, median and 90th percentile of ROUNDS runs each.
//
// Then a batch: 60 adds started at once against the program holding 50,000
// to-dos: how long until all have ended, how they ended, and whether each
// to-do landed exactly once.
#include "ordinary_todos.h"

#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "storage/todo_storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <vector>

extern char **environ;

using namespace Qt::StringLiterals;

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

pid_t spawn(const QStringList &command)
{
    std::vector<QByteArray> arguments;
    for (const QString &argument : command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit status, or -1 for a command that did not exit.
int reap(pid_t pid)
{
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Milliseconds from spawning the command to reaping it; -1 when it failed.
double timeRun(const QStringList &command)
{
    const double start = nowMs();
    const int status = reap(spawn(command));
    return status == 0 ? nowMs() - start : -1;
}

void report(const char *name, const QStringList &command, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double ms = timeRun(command);
        if (ms < 0) {
            std::printf("%-34s failed: %s\n", name, qPrintable(command.join(u' ')));
            return;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s min %6.2f ms   median %6.2f ms   p90 %6.2f ms\n", name, times.front(), times[times.size() / 2],
                times[times.size() * 9 / 10]);
}

// Starts the program and waits until it holds the list and has said where it listens.
void startProgram(QProcess &program, const QString &marlowick, const QString &settingsFile)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(environment);
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(marlowick, {});
    QFile lock(settingsFile + u".writer.lock"_s);
    for (int i = 0; i < 400; ++i) {
        if (lock.open(QIODevice::ReadOnly) && lock.readAll().count('\n') >= 6)
            return;
        lock.close();
        QThread::msleep(50);
    }
}

void writeTodos(const QString &settingsFile, int count)
{
    QDir().mkpath(QFileInfo(settingsFile).absolutePath());
    // The latest of them today.
    const double today = *sharedCalendar().startOfDay(Instant::now());
    SettingsTodoStorage(settingsFile).write(TodoStore::itemsDefaultsKey, ordinaryTodos(count, today, -86400.0));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_commands MARLOWICK [ROUNDS]\n");
        return 2;
    }
    const QString marlowick = arguments.at(1);
    const int rounds = arguments.size() > 2 ? arguments.at(2).toInt() : 50;
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qunsetenv("DISPLAY");
    writeTodos(config.filePath(u"marlowick/marlowick.conf"_s), 10000);
    // Commands find the program through its writer lock, whatever the environment.
    qunsetenv("XDG_RUNTIME_DIR");

    std::printf("%d rounds each, 10,000 to-dos stored\n", rounds);
    report("/bin/true", {u"/bin/true"_s}, rounds);
    report("marlowick --version", {marlowick, u"--version"_s}, rounds);

    const QString settingsFile = config.filePath(u"marlowick/marlowick.conf"_s);
    QProcess program;
    startProgram(program, marlowick, settingsFile);
    report("count, the program running", {marlowick, u"count"_s}, rounds);
    report("add, the program running", {marlowick, u"add"_s, u"Buy milk"_s}, rounds);
    timeRun({marlowick, u"quit"_s});
    program.waitForFinished();

    report("count, none running", {marlowick, u"count"_s}, rounds);
    report("add, none running", {marlowick, u"add"_s, u"Buy milk"_s}, rounds);

    constexpr int batch = 60;
    constexpr int stored = 50000;
    writeTodos(settingsFile, stored);
    QProcess busyProgram;
    startProgram(busyProgram, marlowick, settingsFile);
    std::vector<pid_t> adds;
    const double start = nowMs();
    for (int i = 0; i < batch; ++i)
        adds.push_back(spawn({marlowick, u"add"_s, u"Batch %1"_s.arg(i)}));
    int statusCounts[5] = {};
    for (const pid_t pid : adds)
        ++statusCounts[std::clamp(reap(pid), -1, 3) + 1];
    const double elapsed = nowMs() - start;
    timeRun({marlowick, u"quit"_s});
    busyProgram.waitForFinished();
    QHash<QString, int> landed;
    const TodoStore after(std::make_unique<SettingsTodoStorage>(settingsFile));
    for (const TodoItem &item : after.items())
        ++landed[item.title];
    int once = 0;
    for (int i = 0; i < batch; ++i)
        once += landed.value(u"Batch %1"_s.arg(i)) == 1;
    std::printf("%d adds at once, %d to-dos stored: all ended in %.0f ms; exit 0: %d, 1: %d, 2: %d, 3: %d, "
                "other: %d; landed exactly once: %d\n",
                batch, stored, elapsed, statusCounts[1], statusCounts[2], statusCounts[3], statusCounts[4],
                statusCounts[0], once);
    return 0;
}
