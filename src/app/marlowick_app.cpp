// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "marlowick_app.h"

#include "app_delegate.h"
#include "program_commands.h"
#include "quick_renderer.h"
#include "single_instance.h"
#include "unix_signal_watcher.h"
#include "writer_lock.h"
#include "x11_display.h"

#include "cli/request_client.h"
#include "key_repeat_filter.h"
#include "qt_pointer_locator.h"
#include "qt_scheduler.h"
#include "qt_screen_provider.h"
#include "storage/todo_storage.h"
#include "x11_press_monitors.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>

namespace {

// How long a start waits for whoever holds the list: a Marlowick that is
// starting still, or a command (marlowick add) for a moment.
constexpr std::chrono::seconds lockPatience{10};

// Asks the running Marlowick to open its panel; none when none listens.
std::optional<int> askRunningInstance(const QString &socketName, const CommandRequest &panelRequest)
{
    const auto exchange = RequestClient::send(socketName, panelRequest);
    if (exchange.result == RequestClient::Exchange::Result::NotListening
        || exchange.result == RequestClient::Exchange::Result::Closed)
        return std::nullopt;
    if (exchange.reply.status != CommandReply::Success) {
        std::fprintf(stderr, "marlowick: %s\n", qPrintable(exchange.reply.error));
        return 1;
    }
    std::fprintf(stderr, "marlowick: already running; its panel was opened\n");
    return 0;
}

// One program writes the list: the one that holds the lock beside the
// settings file, for as long as it runs, and listens where the lock says; a
// later start opens its panel. Returns the exit status when this start is
// to end here.
std::optional<int> claimSettings(WriterLock &writerLock, SingleInstance &instance, const CommandRequest &panelRequest,
                                 const QString &settingsFile)
{
    const QDeadlineTimer deadline(lockPatience);
    while (true) {
        switch (writerLock.tryLock()) {
        case WriterLock::Outcome::Locked:
            if (!instance.listen() || !writerLock.announce(instance.socketName())) {
                std::fprintf(stderr,
                             "marlowick: %s; neither starting Marlowick again nor its commands can reach this one\n",
                             qPrintable(instance.errorString().isEmpty()
                                            ? writerLock.fileName() + QStringLiteral(" cannot be written")
                                            : instance.errorString()));
            }
            return std::nullopt;
        case WriterLock::Outcome::HeldElsewhere:
            if (const auto holder = writerLock.holder();
                holder && holder->onThisMachine && !holder->socketName.isEmpty()) {
                if (const auto exitStatus = askRunningInstance(holder->socketName, panelRequest))
                    return exitStatus;
            }
            break;
        case WriterLock::Outcome::Failed:
            // Nor can the list be saved there: the panel says so at the first change.
            std::fprintf(stderr, "marlowick: %s; running without it\n", qPrintable(writerLock.errorString()));
            return std::nullopt;
        }
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    const auto holder = writerLock.holder();
    std::fprintf(stderr,
                 "marlowick: another Marlowick (%s) uses %s, and it could not be reached to open its panel. "
                 "If it no longer runs, delete %s.\n",
                 qPrintable(holder ? holder->description() : QStringLiteral("another program")),
                 qPrintable(settingsFile), qPrintable(writerLock.fileName()));
    return 1;
}

} // namespace

int MarlowickApp::run(int argc, char **argv, const std::optional<CommandRequest> &panelRequest)
{
    X11Display::preferXcbPlatform(argc, argv);
    if (X11Display::usesXcb(argc, argv)) {
        if (const auto problem = X11Display::connectionProblem()) {
            std::fprintf(stderr, "marlowick: %s\n", qPrintable(*problem));
            return 1;
        }
    }

    QuickRenderer::preferSoftware();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("marlowick"));
    QApplication::setOrganizationName(QStringLiteral("marlowick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marlowick"));
    QApplication::setDesktopFileName(QStringLiteral("marlowick"));
    // The panel and the tray menu come and go; only "Quit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const QString settingsFile = SettingsTodoStorage::defaultFileName();
    WriterLock writerLock(settingsFile);
    SingleInstance instance;
    if (const auto exitStatus =
            claimSettings(writerLock, instance, panelRequest.value_or(CommandRequest{}), settingsFile))
        return *exitStatus;

    // Started by a command (show, toggle) whose stderr was a pipe, the
    // program outlives the pipe's reader: a warning written after that must
    // fail quietly, not end the program.
    std::signal(SIGPIPE, SIG_IGN);
    // The session ends the program with SIGTERM, a closing terminal with SIGHUP.
    UnixSignalWatcher signalWatcher({SIGTERM, SIGHUP, SIGINT});
    QObject::connect(&signalWatcher, &UnixSignalWatcher::signalReceived, &app, &QCoreApplication::quit);

    QtScreenProvider screens;
    QtScheduler scheduler;
    X11PressMonitors pressMonitors;
    QtPointerLocator pointer;
    // Held keys' repeats told by the X events, not by Qt's guess.
    KeyRepeatFilter keyRepeats;
    app.installEventFilter(&keyRepeats);
    AppDelegate delegate(AppDelegate::Services{&screens, &scheduler, &pressMonitors, &pointer});
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::saveBeforeExit);
    delegate.start();
    // Requests that came while it started are carried out now.
    instance.setHandler(
        [&delegate](const QList<CommandRequest> &requests) { return ProgramCommands::run(requests, delegate); });
    if (panelRequest)
        ProgramCommands::run(*panelRequest, delegate);
    return QApplication::exec();
}
