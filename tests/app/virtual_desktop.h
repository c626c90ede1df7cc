#pragma once

#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <memory>
#include <vector>

struct xcb_connection_t;

// One kind of desktop people run, to be made on a private X server.
struct DesktopKind
{
    enum class Monitors { One, PrimaryLeft, PrimaryRight };

    // 1: no scaling; 2: Xft.dpi 192, as a desktop sets it; any other
    // factor: QT_SCALE_FACTOR.
    qreal scale = 1;
    Monitors monitors = Monitors::One;
    bool compositing = false;
    // A dock window along the primary monitor's top edge, 32 logical pixels
    // high, announcing its strut.
    bool topPanel = false;
    bool windowManager = false;
};

// A private Xvfb made into the desktop of a kind: its monitors (a 1920 x 1080
// one, and a 1600 x 900 one beside it, times the scale), the window manager
// (openbox), the compositing manager (xcompmgr), the top panel. Everything
// it starts ends with it.
class VirtualDesktop
{
public:
    explicit VirtualDesktop(const DesktopKind &kind);
    ~VirtualDesktop();

    // Empty once the desktop is up; else what went wrong.
    const QString &problem() const { return m_problem; }
    const DesktopKind &kind() const { return m_kind; }
    // The primary monitor in the X server's pixels.
    QRect primaryMonitor() const { return m_primary; }
    // For the processes that run on this desktop: its DISPLAY and scale.
    QProcessEnvironment environment() const;
    // Runs a command on this desktop (xdotool, xrandr, ...); true when it
    // exits with status 0.
    bool run(const QString &program, const QStringList &arguments, const QByteArray &input = {}) const;

    // Shows or takes away the top panel (a dock along the top of the
    // primary monitor of the moment it is first shown).
    bool setTopPanel(bool shown);
    // Makes the other monitor the primary one.
    bool swapPrimaryMonitor();

    xcb_connection_t *connection() const { return m_connection; }
    // The mapped top-level window named name, or none; and where it lies.
    quint32 mappedWindow(const QByteArray &name) const;
    QRect windowRect(quint32 window) const;
    // An override-redirect window that records presses, for "a window below".
    quint32 createPressRecorder(const QRect &rect);
    // Handles the X events that arrived; how many presses window has seen.
    int pressesSeen(quint32 window);
    // Gives window the keyboard, as a program the user clicks into takes it.
    bool giveKeyboardTo(quint32 window);
    quint32 inputFocus() const;
    // Whether a press at point (relative to the window) goes to the window:
    // its input shape holds the point.
    bool takesPressesAt(quint32 window, const QPoint &point) const;

private:
    bool startServer(const QSize &size);
    bool startAndWait(QProcess &process, const QString &program, const QStringList &arguments,
                      const std::function<bool()> &ready);
    bool setUpMonitors();
    bool isMapped(quint32 window) const;
    bool hasWorkArea() const;
    quint32 atom(const char *name) const;
    quint32 selectionOwner(const QByteArray &selection) const;

    DesktopKind m_kind;
    QString m_problem;
    QTemporaryDir m_home;
    QString m_display;
    QRect m_primary;
    QRect m_secondary;
    QProcess m_server;
    QProcess m_windowManager;
    QProcess m_compositor;
    xcb_connection_t *m_connection = nullptr;
    quint32 m_root = 0;
    quint32 m_dock = 0;
    std::vector<std::pair<quint32, int>> m_pressCounts;
};
