#include "qt_pointer_locator.h"

#include <QCursor>

QPointF QtPointerLocator::position() const
{
    return QPointF(QCursor::pos());
}
