#pragma once

#include <QObject>
#include <QPoint>
#include <QSocketNotifier>

#include <memory>

struct xcb_connection_t;

// The smallest system tray an X desktop offers (the freedesktop.org system
// tray protocol): it owns the tray selection, announces itself, and embeds
// the icon windows that ask to be docked in a strip of its own, side by
// side from its left end. For testing the program's tray item.
class TrayHost : public QObject
{
    Q_OBJECT

public:
    static constexpr int iconSize = 24;

    // A strip at the top right of a screen of the given width.
    explicit TrayHost(int screenWidth);
    ~TrayHost() override;

    bool isRunning() const { return m_window != 0; }
    int iconCount() const { return m_icons; }
    // The centre of the n-th docked icon, in root coordinates.
    QPoint iconCentre(int n) const;

private:
    void handleEvents();

    xcb_connection_t *m_connection = nullptr;
    quint32 m_window = 0;
    quint32 m_opcodeAtom = 0;
    QPoint m_origin;
    int m_icons = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
