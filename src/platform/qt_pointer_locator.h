// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/pointer_locator.h"

// Asks the window system for the pointer position (QCursor::pos()).
class QtPointerLocator : public PointerLocator
{
public:
    QPointF position() const override;
};
