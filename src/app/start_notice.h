// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QString>

#include <optional>

// What a start tells the user in a desktop notification: at the first start
// (no settings file yet) where Marlowick lives and how to open and quit it;
// at any start on a desktop without a tray, how to open and quit it without
// one. Later starts with a tray say nothing.
class StartNotice
{
public:
    struct Text {
        QString summary;
        QString body;
    };

    // The notice for this start, if any.
    static std::optional<Text> compose(bool firstStart, bool trayAvailable);

    // Shows the notice through org.freedesktop.Notifications on the session
    // bus, without waiting for the answer: where no server runs (or no
    // session bus), the notice is dropped, and a log line says so.
    static void show(const Text &text);
};
