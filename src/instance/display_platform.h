// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "instance/x11_display.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Which of Qt's platforms the program runs on, decided before Qt starts.
namespace DisplayPlatform {

// Chooses Qt's platform unless the user chose one (QT_QPA_PLATFORM or
// -platform): Wayland where the session is Wayland and the compositor offers
// the layer shell the strip and the panel need, X11 (XWayland in a Wayland
// session) everywhere else. Returns why the program cannot run on the
// platform it is to use, or none: Qt itself would abort, or run without a
// strip and with the panel as an ordinary window. On X11, the connection
// that checked the display is left in x11Check: keep it until Qt, or the
// program started, has connected.
std::optional<QString> choose(int argc, char **argv, std::optional<X11Display::CheckConnection> &x11Check);

// The platform Qt will use: the -platform option's, else QT_QPA_PLATFORM's
// (a list "a;b" tries a first); empty when neither names one.
QByteArray name(int argc, char **argv);

} // namespace DisplayPlatform
