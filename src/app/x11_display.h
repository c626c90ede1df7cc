// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

namespace X11Display {

// Why the X display named by $DISPLAY cannot be used, or none when it can.
// Checked before Qt starts, which would abort without a useful message.
std::optional<QString> connectionProblem();

} // namespace X11Display
