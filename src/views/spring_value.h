// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "views/spring_curve.h"

#include "views/panel_metrics.h"

#include <QObject>
#include <QtQmlIntegration/qqmlintegration.h>

#include <memory>

class QAbstractAnimation;

// A number that follows `target` on a spring. A new target taken while the
// value is still moving starts from the value and the velocity on screen, so
// a reversed motion (a panel reopened while closing) has neither a jump nor a
// kink. The first target is taken at once. Runs on the animation clock of the
// window, one step per frame.
class SpringValue : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double target READ target WRITE setTarget NOTIFY targetChanged)
    Q_PROPERTY(double value READ value NOTIFY valueChanged)
    Q_PROPERTY(double response READ response WRITE setResponse NOTIFY parametersChanged)
    Q_PROPERTY(double dampingFraction READ dampingFraction WRITE setDampingFraction NOTIFY parametersChanged)
    Q_PROPERTY(bool running READ isRunning NOTIFY runningChanged)

public:
    explicit SpringValue(QObject *parent = nullptr);
    ~SpringValue() override;

    double target() const { return m_target; }
    void setTarget(double target);
    double value() const { return m_value; }
    double velocity() const { return m_velocity; }
    double response() const { return m_curve.response(); }
    void setResponse(double response);
    double dampingFraction() const { return m_curve.dampingFraction(); }
    void setDampingFraction(double dampingFraction);
    bool isRunning() const;

    // Moves the value to the target at once, stopping any motion.
    Q_INVOKABLE void finish();

    // One animation step, `elapsed` seconds after the motion began.
    void advanceTo(double elapsed);

Q_SIGNALS:
    void targetChanged();
    void valueChanged();
    void parametersChanged();
    void runningChanged();

private:
    class Driver;

    void setValue(double value);

    SpringCurve m_curve{PanelMetrics::springResponse(), PanelMetrics::springDampingFraction()};
    bool m_hasTarget = false;
    double m_target = 0;
    double m_value = 0;
    double m_velocity = 0;
    double m_from = 0;
    double m_startVelocity = 0;
    std::unique_ptr<Driver> m_driver;
};
