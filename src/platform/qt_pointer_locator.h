#pragma once

#include "pointer_locator.h"

// Asks the window system for the pointer position (QCursor::pos()).
class QtPointerLocator : public PointerLocator
{
public:
    QPointF position() const override;
};
