// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/scheduler.h"

#include <QObject>

#include <functional>
#include <memory>

class DropdownPanelController;
class DropdownPanel;
class NotchSensor;
struct NotchGeometry;
class PanelWindow;
class PointerLocator;
class PressMonitors;
class Scheduler;
class ScreenProvider;
class StatusItem;
class TodoStore;

// The program's spine. At launch it makes the store (which reads the stored
// list), then runs the set-up pass: the notch geometry, the sensor window
// over the strip, the panel controller, the tray item. Each later change of
// the screens runs the pass again, which only moves the sensor window and,
// while it is open, the panel: nothing is made twice. Everything it makes
// lives as long as the delegate.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    // The window system as the delegate and the controller use it; all must
    // outlive the delegate.
    struct Services {
        ScreenProvider *screens = nullptr;
        Scheduler *scheduler = nullptr;
        PressMonitors *pressMonitors = nullptr;
        PointerLocator *pointer = nullptr;
    };

    // How the parts are made; the defaults are the real ones on X11 (the
    // user's stored list, the DropdownPanel window showing
    // panelRootViewFactory()'s view of the store, an X window as the sensor).
    struct Factories {
        std::function<std::unique_ptr<TodoStore>()> store;
        // The panel as its controller drives it; by default the window
        // dropdownPanel makes, which Ctrl+Q in it quits.
        std::function<std::unique_ptr<PanelWindow>()> panel;
        bool statusItem = true;
        std::function<std::unique_ptr<DropdownPanel>()> dropdownPanel = {};
        std::function<std::unique_ptr<NotchSensor>(const NotchGeometry &)> sensor = {};
    };

    explicit AppDelegate(const Services &services, QObject *parent = nullptr);
    AppDelegate(const Services &services, Factories factories, QObject *parent = nullptr);
    ~AppDelegate() override;

    // Makes the store, runs the set-up pass and follows the screens' changes
    // from then on; once only.
    void start();
    // Places what exists, creating it on the first pass; without a store it
    // does nothing.
    void setupWindows();
    // A left click on the tray item: toggles the panel (see
    // PanelMetrics::trayClickGrace()).
    void togglePanelFromTray();
    // Opens the panel (another start asked for it); an open panel stays.
    void showPanel();
    // Opens the panel with the keyboard in its add field, wherever the
    // pointer is (a desktop's key binding). It stays open until a press
    // outside it, Escape, or the pointer entering and leaving it.
    void showAddField();
    // Opens or closes the panel (a key binding: no click to make up for).
    void togglePanel();
    // "Quit" and Ctrl+Q: ends the program.
    void quitApp();
    // For the program's end (by any of its ways out): a list that could not
    // be saved is tried once more, and if that fails too it is written whole
    // to a recovery file that stderr names.
    void saveBeforeExit();

    TodoStore *store() const { return m_store.get(); }
    NotchSensor *sensorWindow() const { return m_sensorWindow.get(); }
    DropdownPanelController *panelController() const { return m_panelController.get(); }

Q_SIGNALS:
    // The set-up pass of launch has finished: sensor in place, tray item
    // requested. (The panel's view is built at the event loop's next turn.)
    void ready();

private:
    void notePanelClosed();

    Services m_services;
    Factories m_factories;
    std::unique_ptr<TodoStore> m_store;
    std::unique_ptr<NotchSensor> m_sensorWindow;
    std::unique_ptr<DropdownPanelController> m_panelController;
    std::unique_ptr<StatusItem> m_statusItem;
    // Set while the panel closed less than the tray click's grace ago.
    ScheduledJob m_justClosed;
};
