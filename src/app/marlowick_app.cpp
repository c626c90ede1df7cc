#include "marlowick_app.h"

#include "app_delegate.h"
#include "single_instance.h"
#include "unix_signal_watcher.h"
#include "x11_display.h"

#include "key_repeat_filter.h"
#include "qt_pointer_locator.h"
#include "qt_scheduler.h"
#include "qt_screen_provider.h"
#include "x11_press_monitors.h"

#include <QApplication>

#include <csignal>
#include <cstdio>

int MarlowickApp::run(int argc, char **argv)
{
    X11Display::preferXcbPlatform(argc, argv);
    if (X11Display::usesXcb(argc, argv)) {
        if (const auto problem = X11Display::connectionProblem()) {
            std::fprintf(stderr, "marlowick: %s\n", qPrintable(*problem));
            return 1;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("marlowick"));
    QApplication::setOrganizationName(QStringLiteral("marlowick"));
    QApplication::setApplicationDisplayName(QStringLiteral("Marlowick"));
    QApplication::setDesktopFileName(QStringLiteral("marlowick"));
    // The panel and the tray menu come and go; only "Quit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    switch (instance.claim()) {
    case SingleInstance::Outcome::First:
        break;
    case SingleInstance::Outcome::AlreadyRunning:
        std::fprintf(stderr, "marlowick: already running; its panel was opened\n");
        return 0;
    case SingleInstance::Outcome::Failed:
        // Running anyway could let two processes save the list in turn.
        std::fprintf(stderr, "marlowick: cannot tell whether Marlowick already runs (%s)\n",
                     qPrintable(instance.errorString()));
        return 1;
    }

    UnixSignalWatcher signalWatcher({SIGTERM, SIGINT});
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
    delegate.applicationDidFinishLaunching();
    return QApplication::exec();
}
