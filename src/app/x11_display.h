// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

namespace X11Display {

// Why the X display named by $DISPLAY cannot be used, or none when it can.
// Checked before Qt starts, which would abort without a useful message.
std::optional<QString> connectionProblem();

// Chooses the X11 platform unless the user chose one (QT_QPA_PLATFORM or
// -platform): the windows need X11, which Wayland sessions offer through
// XWayland.
void preferXcbPlatform(int argc, char **argv);

// Whether Qt will use its X11 platform: the windows then need an X display,
// and Qt itself would abort without one.
bool usesXcb(int argc, char **argv);

} // namespace X11Display
