// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "platform/qt_pointer_locator.h"

#include <QCursor>

QPointF QtPointerLocator::position() const
{
    return QPointF(QCursor::pos());
}
