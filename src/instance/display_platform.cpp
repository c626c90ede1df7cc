// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/display_platform.h"

#include "instance/x11_display.h"
#include "wayland/wayland_probe.h"

#include <QList>

#include <cstring>

namespace DisplayPlatform {

namespace {

// The platform asked for with "-platform NAME" or "-platform=NAME"; empty
// for a "-platform" with nothing after it, none without the option.
std::optional<QByteArray> platformArgument(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return QByteArray(i + 1 < argc ? argv[i + 1] : "");
        if (std::strncmp(argv[i], "-platform=", 10) == 0)
            return QByteArray(argv[i] + 10);
    }
    return std::nullopt;
}

std::optional<QString> checkX11(std::optional<X11Display::CheckConnection> &x11Check)
{
    x11Check.emplace();
    return x11Check->problem();
}

void useWayland()
{
    // Qt gives a window with Qt::BypassWindowManagerHint no shell role of
    // its own then: the program gives the strip and the panel theirs.
    qputenv("QT_WAYLAND_USE_BYPASSWINDOWMANAGERHINT", "1");
}

std::optional<QString> checkWayland(const QByteArray &platforms, std::optional<X11Display::CheckConnection> &x11Check)
{
    const auto compositor = WaylandProbe::probe();
    if (!compositor)
        return QStringLiteral("the platform \"%1\" was asked for, but no Wayland compositor answers at "
                              "WAYLAND_DISPLAY \"%2\"")
            .arg(QString::fromLocal8Bit(platforms),
                 qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0")));
    if (compositor->layerShellVersion == 0) {
        // "wayland;xcb" allows the fallback.
        if (platforms.split(';').contains("xcb")) {
            qputenv("QT_QPA_PLATFORM", "xcb");
            return checkX11(x11Check);
        }
        return QStringLiteral("QT_QPA_PLATFORM or -platform asks for Wayland, but this compositor offers no layer "
                              "shell (zwlr_layer_shell_v1), without which the strip and the panel cannot be placed; "
                              "unset QT_QPA_PLATFORM or set it to xcb to run Marlowick under XWayland");
    }
    useWayland();
    return std::nullopt;
}

} // namespace

QByteArray name(int argc, char **argv)
{
    const auto argument = platformArgument(argc, argv);
    const QByteArray platforms = argument && !argument->isEmpty() ? *argument : qgetenv("QT_QPA_PLATFORM");
    return platforms.split(';').constFirst().split(':').constFirst().trimmed();
}

std::optional<QString> choose(int argc, char **argv, std::optional<X11Display::CheckConnection> &x11Check)
{
    const bool userChose = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || platformArgument(argc, argv);
    if (!userChose) {
        if (WaylandProbe::isWaylandSession()) {
            const auto compositor = WaylandProbe::probe();
            if (compositor && compositor->layerShellVersion > 0) {
                // XWayland still, should Qt's wayland platform be missing.
                qputenv("QT_QPA_PLATFORM", "wayland;xcb");
                useWayland();
                return std::nullopt;
            }
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    const QByteArray platform = name(argc, argv);
    if (platform == "xcb")
        return checkX11(x11Check);
    if (platform.startsWith("wayland")) {
        const auto argument = platformArgument(argc, argv);
        return checkWayland(argument && !argument->isEmpty() ? *argument : qgetenv("QT_QPA_PLATFORM"), x11Check);
    }
    return std::nullopt;
}

} // namespace DisplayPlatform
