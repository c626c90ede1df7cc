// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>

#include <functional>

class QWindow;

// Names an installed press monitor; the default value names none (a monitor
// the window system could not install).
struct PressMonitor {
    quint64 id = 0;
    bool isValid() const { return id != 0; }
};

// Watches presses of the left and right mouse buttons.
class PressMonitors
{
public:
    // A press anywhere on the display, in any application. It carries no
    // position: ask the PointerLocator.
    using GlobalHandler = std::function<void()>;
    // A press in one of this application's windows, before it is delivered;
    // target is the window it goes to. The press is always delivered.
    using LocalHandler = std::function<void(QWindow *target)>;

    virtual ~PressMonitors() = default;

    virtual PressMonitor addGlobalPressMonitor(GlobalHandler handler) = 0;
    virtual PressMonitor addLocalPressMonitor(LocalHandler handler) = 0;
    // Removing a monitor twice, or the default value, does nothing.
    virtual void removeMonitor(PressMonitor monitor) = 0;
};
