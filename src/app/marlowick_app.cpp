#include "marlowick_app.h"

#include "app_delegate.h"
#include "quick_renderer.h"
#include "single_instance.h"
#include "unix_signal_watcher.h"
#include "writer_lock.h"
#include "x11_display.h"

#include "key_repeat_filter.h"
#include "model/todo_storage.h"
#include "qt_pointer_locator.h"
#include "qt_scheduler.h"
#include "qt_screen_provider.h"
#include "x11_press_monitors.h"

#include <QApplication>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>

namespace {

// One program writes the list: the one that holds the lock beside the
// settings file, for as long as it runs; a later start opens its panel.
// Returns the exit status when this start is to end here.
std::optional<int> claimSettings(WriterLock &writerLock, SingleInstance &instance, const QString &settingsFile)
{
    const auto activated = [] {
        std::fprintf(stderr, "marlowick: already running; its panel was opened\n");
        return 0;
    };
    switch (writerLock.tryLock()) {
    case WriterLock::Outcome::Locked:
        // A Marlowick that takes no writer lock (an older one) may run all
        // the same, and answer.
        if (instance.activateRunningInstance(std::chrono::milliseconds(0)))
            return activated();
        if (!instance.listen())
            std::fprintf(stderr, "marlowick: %s; starting Marlowick again cannot open this one's panel\n",
                         qPrintable(instance.errorString()));
        return std::nullopt;
    case WriterLock::Outcome::HeldElsewhere:
        // It may be starting still: give it a moment to answer.
        if (instance.activateRunningInstance(std::chrono::seconds(3)))
            return activated();
        std::fprintf(stderr,
                     "marlowick: another Marlowick (%s) uses %s, and it could not be reached to open its panel. "
                     "If it no longer runs, delete %s.\n",
                     qPrintable(writerLock.holder()), qPrintable(settingsFile), qPrintable(writerLock.fileName()));
        return 1;
    case WriterLock::Outcome::Failed:
        // Nor can the list be saved there: the panel says so at the first change.
        std::fprintf(stderr, "marlowick: %s; running without it\n", qPrintable(writerLock.errorString()));
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

int MarlowickApp::run(int argc, char **argv)
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
    if (const auto exitStatus = claimSettings(writerLock, instance, settingsFile))
        return *exitStatus;

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
    QObject::connect(&instance, &SingleInstance::activationRequested, &delegate, &AppDelegate::showPanel);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, &AppDelegate::applicationWillTerminate);
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
