// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QPointF>

// Where the pointer is.
class PointerLocator
{
public:
    virtual ~PointerLocator() = default;
    // In Qt's global coordinates.
    virtual QPointF position() const = 0;
};
