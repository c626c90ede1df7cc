// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QProcess>
#include <QRegion>
#include <QTemporaryDir>

#include <functional>
#include <map>

struct xcb_connection_t;

// One kind of desktop people run.
struct DesktopKind {
    // Below: the primary monitor below the other one, their left edges aligned.
    enum class Monitors { One, PrimaryLeft, PrimaryRight, PrimaryBelow };
    enum class WindowManager { None, Openbox, Icewm, Fluxbox, Xfwm4 };
    // Along the primary monitor's top, 32 logical pixels high, with its
    // strut: a dock window of the desktop's own, or tint2 with nothing but
    // a clock at its centre.
    enum class TopPanel { None, Dock, Tint2 };

    // 2: Xft.dpi 192, as a desktop sets it; any other but 1: QT_SCALE_FACTOR.
    qreal scale = 1;
    Monitors monitors = Monitors::One;
    bool compositing = false;
    TopPanel topPanel = TopPanel::None;
    WindowManager windowManager = WindowManager::None;
};

// An X desktop as a user has it: a private Xvfb made into a desktop of a kind
// (a 1920 x 1080 monitor and a smaller one beside it, times the scale; a
// window manager; xcompmgr; a top panel; a tray), or the server named in
// DISPLAY.
// It drives the pointer and keys with xdotool, looks at windows as the server
// has them, and ends whatever it starts.
class XDesktop
{
public:
    enum ShapeKind { Bounding = 0, Input = 2 };

    XDesktop();
    explicit XDesktop(const DesktopKind &kind);
    ~XDesktop();

    // Empty once the desktop is up; else what went wrong.
    const QString &problem() const { return m_problem; }
    // The primary monitor in the server's pixels.
    QRect primaryMonitor() const { return m_primary; }
    // For processes on it: its DISPLAY and scale, no platform or renderer.
    QProcessEnvironment environment() const;
    // Runs a command on this desktop; true when it exits with status 0.
    bool run(const QString &program, const QStringList &arguments, const QByteArray &input = {}) const;

    // The pointer and keys, as xdotool drives them; keys are named as
    // xdotool names them, one after another ("ctrl+q", "Down Return").
    bool movePointer(const QPoint &to) const
    {
        return xdotool({"mousemove", QByteArray::number(to.x()), QByteArray::number(to.y())});
    }
    // A hand's motion, which pointer barriers hold (an absolute move jumps).
    bool movePointerBy(int dx, int dy) const
    {
        return xdotool({"mousemove_relative", "--", QByteArray::number(dx), QByteArray::number(dy)});
    }
    QPoint pointer() const;
    bool click(int button = 1) const { return xdotool({"click", QByteArray::number(button)}); }
    bool pressButton(bool down) const { return xdotool({down ? "mousedown" : "mouseup", "1"}); }
    bool type(const QString &text) const { return xdotool({"type", "--delay", "20", text.toUtf8()}); }
    bool keys(const QByteArray &names) const
    {
        return xdotool(QByteArrayList{"key", "--delay", "50"} + names.split(' '));
    }

    // Shows or hides the dock (TopPanel::Dock).
    bool setTopPanel(bool shown);
    // The presses the top panel took: on the dock's window, or on tint2's
    // clock (which runs a command for each).
    int topPanelClicks();
    // A program's ordinary window (managed by the window manager, if any),
    // which takes the keyboard when activated.
    quint32 createEditor(const QRect &rect);
    // As a click on its task-bar entry or a pager does: through the window
    // manager where there is one; true once it has the keyboard.
    bool activate(quint32 window);
    // Asks the window manager to show window fullscreen; true once it does.
    bool setFullscreen(quint32 window);
    // Runs xdotool's commands in one go (timed with its own "sleep").
    bool xdotoolScript(const QByteArrayList &commands) const { return xdotool(commands); }
    bool swapPrimaryMonitor();
    // A tray at the right end of the top panel, which docks the icons that
    // ask it side by side; the centres of those it holds.
    bool startTray();
    QList<QPoint> trayIcons();

    // The mapped top-level windows named name (any when empty) of process
    // pid (any when 0), and the first of them or none.
    QList<quint32> mappedWindows(const QByteArray &name, qint64 pid = 0) const;
    quint32 mappedWindow(const QByteArray &name) const { return mappedWindows(name).value(0); }
    QRect windowRect(quint32 window) const;
    QRegion shape(quint32 window, ShapeKind kind) const;
    quint32 inputFocus() const;
    // As a program the user clicks into takes the keyboard.
    bool giveKeyboardTo(quint32 window);
    // Another program's window, which counts the presses it gets.
    quint32 createPressRecorder(const QRect &rect);
    int pressesSeen(quint32 window);

private:
    bool xdotool(const QByteArrayList &arguments) const;
    bool startServer(const QSize &size);
    bool startWindowManager();
    QString startSessionBus();
    bool startTint2();
    bool hasMappedStrutWindow(quint32 parent, const QByteArray &name, int depth) const;
    bool connectToServer();
    bool startAndWait(QProcess &process, const QString &program, const QStringList &arguments,
                      const QProcessEnvironment &environment, const std::function<bool()> &ready);
    bool setUpMonitors();
    bool waitUntilMapped(quint32 window, bool mapped = true) const;
    void handleEvents();
    bool isMapped(quint32 window) const;
    quint32 atom(const char *name) const;
    quint32 selectionOwner(const char *selection) const;
    QByteArray property(quint32 window, quint32 property, quint32 type) const;
    bool fail(const QString &problem);

    DesktopKind m_kind;
    QString m_problem;
    QTemporaryDir m_home;
    QString m_display;
    QRect m_primary;
    QRect m_secondary;
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_compositor;
    QProcess m_sessionBus;
    QProcess m_tint2;
    QString m_clockClicks;
    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_dock = 0;
    int m_trayIcons = 0;
    std::map<quint32, int> m_presses;
};
