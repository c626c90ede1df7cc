// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QtQmlIntegration/qqmlintegration.h>

// What the panel controller and the panel's root view share: whether the
// panel is open (written by the controller) and whether the pointer is over
// the panel body (written by the view). Each flag notifies only when its
// value really changes. Besides, each side can ask something of the other:
// the view to close the panel (Escape), the program to put the keyboard in
// the add field (a shortcut).
class NotchAnimationState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the panel controller")
    Q_PROPERTY(bool isOpen READ isOpen WRITE setOpen NOTIFY isOpenChanged)
    Q_PROPERTY(bool mouseInPanel READ mouseInPanel WRITE setMouseInPanel NOTIFY mouseInPanelChanged)

public:
    using QObject::QObject;

    bool isOpen() const { return m_isOpen; }
    void setOpen(bool open);

    bool mouseInPanel() const { return m_mouseInPanel; }
    void setMouseInPanel(bool inPanel);

    Q_INVOKABLE void requestClose() { Q_EMIT closeRequested(); }
    void requestAddField() { Q_EMIT addFieldRequested(); }

Q_SIGNALS:
    void isOpenChanged();
    void mouseInPanelChanged();
    void closeRequested();
    void addFieldRequested();

private:
    bool m_isOpen = false;
    bool m_mouseInPanel = false;
};
