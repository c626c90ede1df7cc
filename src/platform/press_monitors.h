// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <functional>

class QWindow;

// The one rule for which mouse buttons press, on the strip and around the
// panel alike: the left and the right one. The middle button pastes the
// selection and the wheel (X11's buttons 4 to 7) scrolls; neither opens,
// toggles or closes the panel.
constexpr bool countsAsPress(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}

// The same for a button as X11 numbers it: 1 left, 2 middle, 3 right.
constexpr bool countsAsPress(quint32 x11Button)
{
    return countsAsPress(x11Button == 1       ? Qt::LeftButton
                             : x11Button == 2 ? Qt::MiddleButton
                             : x11Button == 3 ? Qt::RightButton
                                              : Qt::NoButton);
}

// Names an installed press monitor; the default value names none (a monitor
// the window system could not install).
struct PressMonitor {
    quint64 id = 0;
    bool isValid() const { return id != 0; }
};

// Watches the presses that count (countsAsPress).
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
