// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/accessible_events.h"

#include <QAccessible>
#include <QQuickItem>

namespace {

void report(QQuickItem *item, QAccessible::Event type)
{
    QAccessibleEvent event(item, type);
    QAccessible::updateAccessibility(&event);
}

} // namespace

void AccessibleEvents::focusMoved(QQuickItem *item)
{
    if (!item || !QAccessible::isActive())
        return;
    // Once the event that moved it is handled: the list takes the keyboard
    // in the same turn, and its own focus must not come after the row's. By
    // then the keyboard may have moved on.
    QMetaObject::invokeMethod(
        item,
        [item] {
            const QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(item);
            if (accessible && accessible->state().focused)
                report(item, QAccessible::Focus);
        },
        Qt::QueuedConnection);
}

void AccessibleEvents::selectionChanged(QQuickItem *item)
{
    if (item && QAccessible::isActive())
        report(item, QAccessible::Selection);
}
