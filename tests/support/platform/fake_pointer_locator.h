// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/pointer_locator.h"

class FakePointerLocator : public PointerLocator
{
public:
    QPointF at;
    QPointF position() const override { return at; }
};
