// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

struct xcb_connection_t;

namespace X11Display {

// A connection to the X display named by $DISPLAY, made before Qt starts
// (which would abort without a useful message) to tell whether the display
// can be used. Keep it until Qt, or the program started, has connected: an X
// server with no other client resets when its last one leaves, and a
// connection made during the reset fails.
class CheckConnection
{
public:
    CheckConnection();
    ~CheckConnection();
    CheckConnection(const CheckConnection &) = delete;
    CheckConnection &operator=(const CheckConnection &) = delete;

    // Why the display cannot be used, or none when it can.
    const std::optional<QString> &problem() const { return m_problem; }

private:
    xcb_connection_t *m_connection = nullptr;
    std::optional<QString> m_problem;
};

} // namespace X11Display
