// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

// The program's item in the system tray: a left click toggles the panel, a
// right click opens the one-entry menu "Quit". A desktop without a tray
// shows nothing; the program then works through the strip at the top of the
// screen alone.
class StatusItem : public QObject
{
    Q_OBJECT

public:
    explicit StatusItem(QObject *parent = nullptr);

    static bool isTrayAvailable() { return QSystemTrayIcon::isSystemTrayAvailable(); }

Q_SIGNALS:
    void clicked();
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMenu m_menu;
    QSystemTrayIcon m_trayIcon;
};
