// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/marlowick_app.h"

#include "app/app_delegate.h"
#include "app/program_commands.h"
#include "app/quick_renderer.h"
#include "app/start_notice.h"
#include "app/status_item.h"
#include "app/unix_signal_watcher.h"
#include "instance/display_platform.h"
#include "instance/single_instance.h"
#include "instance/writer_lock.h"

#include "instance/request_client.h"
#include "model/todo_store.h"
#include "platform/key_repeat_filter.h"
#include "platform/qt_pointer_locator.h"
#include "platform/qt_scheduler.h"
#include "platform/qt_screen_provider.h"
#include "platform/x11_press_monitors.h"
#include "storage/todo_storage.h"
#include "views/editable_text_accessible.h"
#include "wayland/layer_panel_window.h"
#include "wayland/layer_sensor.h"
#include "wayland/layer_shell.h"
#include "wayland/software_buffers.h"
#include "wayland/wayland_pointer_locator.h"
#include "wayland/wayland_press_monitors.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
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

// What the program uses of X11 or of a Wayland compositor with a layer shell.
struct WindowSystem {
    std::unique_ptr<PressMonitors> pressMonitors;
    std::unique_ptr<PointerLocator> pointer;
    std::unique_ptr<QObject> keyRepeats;
    AppDelegate::Factories factories;

    static WindowSystem x11(QApplication &app)
    {
        WindowSystem system;
        system.pressMonitors = std::make_unique<X11PressMonitors>();
        system.pointer = std::make_unique<QtPointerLocator>();
        // Held keys' repeats told by the X events, not by Qt's guess.
        system.keyRepeats = std::make_unique<KeyRepeatFilter>();
        app.installEventFilter(system.keyRepeats.get());
        return system;
    }

    static WindowSystem wayland()
    {
        WindowSystem system;
        auto presses = std::make_unique<WaylandPressMonitors>();
        WaylandPressMonitors *pressMonitors = presses.get();
        system.pressMonitors = std::move(presses);
        auto pointer = std::make_unique<WaylandPointerLocator>();
        const WaylandPointerLocator *pointerLocator = pointer.get();
        system.pointer = std::move(pointer);
        system.factories.dropdownPanel = [pointerLocator] {
            return std::make_unique<LayerPanelWindow>([pointerLocator] { return pointerLocator->isOverOwnWindow(); });
        };
        system.factories.sensor = [pressMonitors](const NotchGeometry &geometry) {
            auto sensor = std::make_unique<LayerSensor>(geometry);
            pressMonitors->ignoreWindow(sensor->window());
            return sensor;
        };
        return system;
    }
};

} // namespace

int MarlowickApp::run(int argc, char **argv, const std::optional<CommandRequest> &panelRequest)
{
    std::optional<X11Display::CheckConnection> displayCheck;
    if (const auto problem = DisplayPlatform::choose(argc, argv, displayCheck)) {
        std::fprintf(stderr, "marlowick: %s\n", qPrintable(*problem));
        return 1;
    }

    QuickRenderer::preferSoftware();
    if (DisplayPlatform::name(argc, argv).startsWith("wayland"))
        SoftwareBuffers::preferWithoutEgl();

    QApplication app(argc, argv);
    displayCheck.reset(); // Qt has its own connection now
    // The tray item's title (a StatusNotifierItem's Title is the application's
    // name) and the name screen readers give the program. The files keep
    // their lower-case names: none is derived from it.
    QApplication::setApplicationName(QStringLiteral("Marlowick"));
    QApplication::setOrganizationName(QStringLiteral("marlowick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marlowick"));
    QApplication::setDesktopFileName(QStringLiteral(MARLOWICK_APP_ID));
    // The panel and the tray menu come and go; only "Quit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);
    // Screen readers and dictation can type into the panel's fields.
    QAccessible::installFactory(&EditableTextAccessible::create);

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

    // The first start is the one that finds no settings file (a link that
    // leads nowhere is a file the store cannot write, not a first start).
    const QFileInfo settingsInfo(settingsFile);
    const bool firstStart = !settingsInfo.exists() && !settingsInfo.isSymLink();

    QtScreenProvider screens;
    QtScheduler scheduler;
    WindowSystem windowSystem = LayerShell::instance() ? WindowSystem::wayland() : WindowSystem::x11(app);
    AppDelegate delegate(
        AppDelegate::Services{&screens, &scheduler, windowSystem.pressMonitors.get(), windowSystem.pointer.get()},
        windowSystem.factories);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::saveBeforeExit);
    delegate.start();
    if (const auto notice = StartNotice::compose(firstStart, StatusItem::isTrayAvailable()))
        StartNotice::show(*notice);
    // Saving the (empty) list makes the settings file: the next start is
    // not a first one. Not where the folder cannot take it: the save would
    // fail, and the store would report a list behind when nothing changed.
    const QFileInfo settingsFolder(settingsInfo.absolutePath());
    if (firstStart && settingsFolder.isDir() && settingsFolder.isWritable())
        delegate.store()->setItems(delegate.store()->items());
    // Requests that came while it started are carried out now.
    instance.setHandler(
        [&delegate](const QList<CommandRequest> &requests) { return ProgramCommands::run(requests, delegate); });
    if (panelRequest)
        ProgramCommands::run(*panelRequest, delegate);
    return QApplication::exec();
}
