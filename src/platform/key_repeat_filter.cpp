// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/key_repeat_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>

bool KeyRepeatFilter::eventFilter(QObject *watched, QEvent *event)
{
    // A key event reaches its window first; Qt then passes it on to the item
    // or widget inside. Windows only, so that each is looked at once.
    const QEvent::Type type = event->type();
    if (m_resending || (type != QEvent::KeyPress && type != QEvent::KeyRelease) || !watched->isWindowType())
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->nativeScanCode() == 0 || key->timestamp() == 0)
        return false;
    if (type == QEvent::KeyRelease) {
        m_releasedAt.insert(key->nativeScanCode(), key->timestamp());
        return false;
    }
    const bool repeat = m_releasedAt.take(key->nativeScanCode()) == key->timestamp();
    if (repeat == key->isAutoRepeat())
        return false;
    QKeyEvent corrected(type, key->key(), key->modifiers(), key->nativeScanCode(), key->nativeVirtualKey(),
                        key->nativeModifiers(), key->text(), repeat, key->count(), key->device());
    corrected.setTimestamp(key->timestamp());
    m_resending = true;
    QCoreApplication::sendEvent(watched, &corrected);
    m_resending = false;
    key->setAccepted(corrected.isAccepted());
    return true;
}
