// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QHash>
#include <QObject>

// Tells a held key's repeats from new presses of it by the X events
// themselves. The X server repeats a held key as a release and a press that
// carry the same server time; a key released and pressed again by hand never
// does. Qt guesses instead, looking for the next press among the events it
// has read when it handles a release; on a busy server the press comes later
// and every repeat passes for a new press, so a key that acts once while held
// acted again and again.
//
// Installed on the application, it sees each key event on its way to a
// window and sends a key press whose auto-repeat flag is wrong on corrected.
// Events without a server time or key code (made up by a program) pass as
// they are.
class KeyRepeatFilter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The server time of each key's release not yet followed by a press,
    // by key code.
    QHash<quint32, quint64> m_releasedAt;
    bool m_resending = false;
};
