// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/quick_renderer.h"

#include <QQuickWindow>
#include <QSGRendererInterface>

namespace QuickRenderer {

void preferSoftware()
{
    // The panel draws a few shapes and lines of text: the software renderer
    // draws them as smoothly as OpenGL, without the graphics stack's memory,
    // which a program that stays resident all day would hold all day.
    // (Qt's own option --device=NAME, should it reach Qt, wins over this.)
    if (!qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") || !qEnvironmentVariableIsEmpty("QMLSCENE_DEVICE")
        || !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND"))
        return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

} // namespace QuickRenderer
