// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QtQmlIntegration/qqmlintegration.h>

class QQuickItem;

// What the panel tells assistive technology beyond what Qt Quick tells it by
// itself. Qt Quick reports an item's focus only when the item takes the
// keyboard, and reports no change of its Accessible.selected at all; the
// panel's rows are selected and made current while the list keeps the
// keyboard. Each call does nothing while no assistive technology listens.
class AccessibleEvents : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // The item is now where the keyboard acts (its Accessible.focused is
    // set); said once the current event is handled, if it still is.
    Q_INVOKABLE static void focusMoved(QQuickItem *item);
    // The item's Accessible.selected changed.
    Q_INVOKABLE static void selectionChanged(QQuickItem *item);
};
