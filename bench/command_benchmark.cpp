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
#include "ordinary_todos.h"

#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "storage/todo_storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
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

// Milliseconds from spawning the command to reaping it; -1 when it failed.
double timeRun(const QStringList &command)
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
    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double elapsed = nowMs() - start;
    posix_spawn_file_actions_destroy(&actions);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
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
    QTemporaryDir runtime;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    qunsetenv("DISPLAY");
    writeTodos(config.filePath(u"marlowick/marlowick.conf"_s), 10000);

    std::printf("%d rounds each, 10,000 to-dos stored\n", rounds);
    report("/bin/true", {u"/bin/true"_s}, rounds);
    report("marlowick --version", {marlowick, u"--version"_s}, rounds);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(environment);
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(marlowick, {});
    for (int i = 0; i < 200 && !QFile::exists(runtime.filePath(u"marlowick.socket"_s)); ++i)
        QThread::msleep(50);
    report("count, the program running", {marlowick, u"count"_s}, rounds);
    report("add, the program running", {marlowick, u"add"_s, u"Buy milk"_s}, rounds);
    timeRun({marlowick, u"quit"_s});
    program.waitForFinished();

    report("count, none running", {marlowick, u"count"_s}, rounds);
    report("add, none running", {marlowick, u"add"_s, u"Buy milk"_s}, rounds);
    return 0;
}
