// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QEasingCurve>
#include <QObject>
#include <QtQmlIntegration/qqmlintegration.h>

// Springs for QML animations of fixed duration (transitions, behaviours):
//   NumberAnimation { duration: SpringEasing.duration(0.3, 1); easing: SpringEasing.curve(0.3, 1) }
class SpringEasing : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // The unit step of the spring as an easing curve over its settling time.
    Q_INVOKABLE static QEasingCurve curve(double response, double dampingFraction);
    // The settling time in milliseconds.
    Q_INVOKABLE static int duration(double response, double dampingFraction);
};
