// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Start-up time, memory and idle cost of marlowick beside a bare Qt Quick
// window drawn by the same renderer, on the X server named by DISPLAY, with
// a 32-pixel top panel (run it through startup_benchmark.sh).
//
//   bench_startup MARLOWICK BARE_WINDOW [ROUNDS] [opengl]
//
// Subjects: the bare window; marlowick with an empty list, with 10,000
// to-dos, and with one unbroken title of 50 MB on today. All are drawn by Qt
// Quick's software renderer, marlowick's own choice, or with "opengl" all
// by OpenGL.
//
// Start to ready: from starting the process to its marker line on stderr
// ("ready:" for marlowick: the sensor window mapped and the tray item
// requested; "first frame" for the bare window). Median of ROUNDS starts.
//
// Then one more start of each: 2 s after ready, its resident memory and
// private dirty memory (what no other process shares, from smaps_rollup);
// over the next 10 s left alone the context switches (each a wake-up) and
// the CPU time; and the memory again 2 s after marlowick's panel has opened
// from the strip and closed once.
#include "ordinary_todos.h"

#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "storage/todo_storage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr double kibPerMib = 1024;

struct Subject {
    QString name;
    QString program;
    QString marker;
    int todos = -1; // -1: not marlowick
    // Characters of one unbroken title stored beside the to-dos (a huge paste).
    qsizetype hugeTitle = 0;
};

struct ProcStat {
    long long contextSwitches = 0;
    double cpuSeconds = 0;
    long long rssKiB = 0;
    long long privateDirtyKiB = 0;
};

ProcStat readProc(qint64 pid)
{
    ProcStat stat;
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 2)
                continue;
            if (fields[0] == "VmRSS:")
                stat.rssKiB = fields[1].toLongLong();
            else if (fields[0] == "voluntary_ctxt_switches:" || fields[0] == "nonvoluntary_ctxt_switches:")
                stat.contextSwitches += fields[1].toLongLong();
        }
    }
    QFile procStat(u"/proc/%1/stat"_s.arg(pid));
    if (procStat.open(QIODevice::ReadOnly)) {
        const QByteArray text = procStat.readAll();
        // Fields after the command name, which ends with the last ')'.
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            stat.cpuSeconds = double(fields[11].toLongLong() + fields[12].toLongLong()) / sysconf(_SC_CLK_TCK);
    }
    QFile rollup(u"/proc/%1/smaps_rollup"_s.arg(pid));
    if (rollup.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : rollup.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 2 && fields[0] == "Private_Dirty:")
                stat.privateDirtyKiB = fields[1].toLongLong();
        }
    }
    return stat;
}

// "resident / private dirty", in MB.
QString memory(const ProcStat &stat)
{
    return u"%1 / %2"_s.arg(stat.rssKiB / kibPerMib, 0, 'f', 1).arg(stat.privateDirtyKiB / kibPerMib, 0, 'f', 1);
}

// Whether `xdotool search` finds a visible window named exactly "Marlowick":
// the panel.
bool panelShown()
{
    QProcess search;
    search.start(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Marlowick$"_s});
    search.waitForFinished();
    return search.exitCode() == 0;
}

bool moveThePointer(int x, int y)
{
    return QProcess::execute(u"xdotool"_s, {u"mousemove"_s, QString::number(x), QString::number(y)}) == 0;
}

// Opens the panel from the strip at the top centre of a 1920-pixel-wide
// screen and closes it again by moving the pointer away.
bool openAndClosePanel()
{
    const auto waitFor = [](bool shown) {
        QElapsedTimer clock;
        clock.start();
        while (panelShown() != shown) {
            if (clock.elapsed() > 10000)
                return false;
            QThread::msleep(50);
        }
        return true;
    };
    return moveThePointer(960, 10) && waitFor(true) && moveThePointer(100, 700) && waitFor(false);
}

class Run
{
public:
    Run(const Subject &subject, const QString &configHome, const QString &runtimeDir, bool opengl)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"QT_QUICK_BACKEND"_s, u"QMLSCENE_DEVICE"_s, u"QSG_RHI_BACKEND"_s})
            environment.remove(name);
        if (opengl)
            environment.insert(u"QSG_RHI_BACKEND"_s, u"opengl"_s);
        else if (subject.todos < 0) // the bare window; marlowick chooses it itself
            environment.insert(u"QT_QUICK_BACKEND"_s, u"software"_s);
        environment.insert(u"XDG_CONFIG_HOME"_s, configHome);
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtimeDir);
        environment.insert(u"QT_LOGGING_RULES"_s, u"marlowick.app.info=true"_s);
        m_process.setProcessEnvironment(environment);
        m_marker = subject.marker;
        m_clock.start();
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start(subject.program, {});
    }
    ~Run()
    {
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }

    // Milliseconds from the start to the marker, or -1.
    double waitForMarker()
    {
        QByteArray seen;
        while (m_clock.elapsed() < 30000) {
            if (!m_process.waitForReadyRead(100) && m_process.state() == QProcess::NotRunning)
                return -1;
            seen += m_process.readAllStandardError();
            if (seen.contains(m_marker.toUtf8()))
                return m_clock.nsecsElapsed() / 1e6;
        }
        return -1;
    }

    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
    QElapsedTimer m_clock;
    QString m_marker;
};

void writeTodos(const QString &configHome, int count, qsizetype hugeTitle)
{
    const QString file = configHome + u"/marlowick/marlowick.conf"_s;
    QDir().mkpath(configHome + u"/marlowick"_s);
    QFile::remove(file);
    if (count == 0 && hugeTitle == 0)
        return;
    QList<TodoItem> items;
    if (hugeTitle > 0) // on today, so that the list made at start shows it
        items.append(TodoItem{QUuid::createUuid(), QString(hugeTitle, u'x'), false, Instant::now(),
                              *sharedCalendar().startOfDay(Instant::now())});
    const double firstDay = 788918400; // 2026-01-01T00:00:00Z
    items += ordinaryTodos(count, firstDay, 86400.0);
    SettingsTodoStorage(file).write(TodoStore::itemsDefaultsKey, items);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_startup MARLOWICK BARE_WINDOW [ROUNDS] [opengl]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, atoi(argv[3])) : 10;
    const bool opengl = argc > 4 && qstrcmp(argv[4], "opengl") == 0;
    const QString marlowick = QString::fromLocal8Bit(argv[1]);
    const QString bare = QString::fromLocal8Bit(argv[2]);
    const QList<Subject> subjects{
        {u"bare Qt Quick window"_s, bare, u"first frame"_s, -1},
        {u"marlowick, empty list"_s, marlowick, u"ready:"_s, 0},
        {u"marlowick, 10,000 to-dos"_s, marlowick, u"ready:"_s, 10000},
        {u"marlowick, a 50 MB title"_s, marlowick, u"ready:"_s, 0, 50'000'000},
    };

    std::printf("drawn by %s; memory in MB, resident / private dirty\n", opengl ? "OpenGL" : "the software renderer");
    std::printf("%-26s %10s %9s %14s %14s %14s %13s\n", "", "start (ms)", "min (ms)", "after start", "after opening",
                "wake-ups/10 s", "CPU/10 s (ms)");
    moveThePointer(100, 700);
    for (const Subject &subject : subjects) {
        QTemporaryDir config;
        QTemporaryDir runtime;
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (subject.todos >= 0)
            writeTodos(config.path(), subject.todos, subject.hugeTitle);

        QList<double> times;
        for (int round = 0; round < rounds; ++round) {
            Run run(subject, config.path(), runtime.path(), opengl);
            const double ms = run.waitForMarker();
            if (ms < 0) {
                std::fprintf(stderr, "%s: no \"%s\" within 30 s\n", qPrintable(subject.name),
                             qPrintable(subject.marker));
                return 1;
            }
            times.append(ms);
        }
        std::sort(times.begin(), times.end());

        Run idle(subject, config.path(), runtime.path(), opengl);
        if (idle.waitForMarker() < 0)
            return 1;
        QThread::sleep(2);
        const ProcStat started = readProc(idle.pid());
        QThread::sleep(10);
        const ProcStat idled = readProc(idle.pid());
        QString opened = u"-"_s;
        if (subject.todos >= 0) {
            if (!openAndClosePanel()) {
                std::fprintf(stderr, "%s: the panel did not open and close\n", qPrintable(subject.name));
                return 1;
            }
            QThread::sleep(2);
            opened = memory(readProc(idle.pid()));
        }
        std::printf("%-26s %10.0f %9.0f %14s %14s %14lld %13.0f\n", qPrintable(subject.name), times[times.size() / 2],
                    times.first(), qPrintable(memory(started)), qPrintable(opened),
                    idled.contextSwitches - started.contextSwitches, (idled.cpuSeconds - started.cpuSeconds) * 1000);
        std::fflush(stdout);
    }
    return 0;
}
