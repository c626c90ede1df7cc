// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QAbstractNativeEventFilter>
#include <QtGlobal>

class QWindow;

// Takes the X input focus for one of this program's windows and gives it
// back, when that window is done with it, to the window that had it before.
// A window manager does this for the windows it manages; an override-redirect
// window that sets the focus itself must do it too, or the focus falls to the
// root window when it goes (and the next line typed lands in whatever window
// lies under the pointer).
//
// It gives nothing back when another program has taken the keyboard
// meanwhile, or when the window that had it is gone or no longer viewable.
// One loan serves all the program's windows: when one passes the keyboard to
// another (the panel to the tray's menu), the last to hold it gives it back.
// Without X11 it does nothing and says so.
class X11KeyboardLoan : public QAbstractNativeEventFilter
{
public:
    static X11KeyboardLoan &shared();
    ~X11KeyboardLoan() override;

    // Gives window the keyboard and notes who had it, unless that was one of
    // this program's windows (the loan then stands as it was). False
    // without X11 or without a native window.
    bool take(QWindow *window);
    // Gives the keyboard back, if window still has it (or nobody has it).
    void giveBack(QWindow *window);

    // Notes the server time of the events the program receives, for the
    // focus to be given back at the time of the last of them.
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    X11KeyboardLoan() = default;

    quint32 m_lender = 0;
    quint8 m_lenderRevertTo = 0;
    bool m_lent = false;
    quint32 m_lastEventTime = 0;
    bool m_filterInstalled = false;
};
