#pragma once

#include "pointer_locator.h"

class FakePointerLocator : public PointerLocator
{
public:
    QPointF at;
    QPointF position() const override { return at; }
};
