// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spring_value.h"

#include <QAbstractAnimation>

#include <algorithm>

#include <cmath>

namespace {

// A frame drawn at the very start of a motion would show the value it starts
// from, which is on the screen already: an opening panel would appear one
// frame late, its first frame empty. Each frame shows the motion as it will
// be when the frame reaches the screen, one frame on.
constexpr double frameLead = 1.0 / 60;

} // namespace

class SpringValue::Driver : public QAbstractAnimation
{
public:
    explicit Driver(SpringValue *owner)
        : m_owner(owner)
    {
    }
    int duration() const override { return -1; }

protected:
    void updateCurrentTime(int ms) override { m_owner->advanceTo(ms / 1000.0 + frameLead); }

private:
    SpringValue *m_owner;
};

SpringValue::SpringValue(QObject *parent)
    : QObject(parent)
    , m_driver(std::make_unique<Driver>(this))
{
    connect(m_driver.get(), &QAbstractAnimation::stateChanged, this, &SpringValue::runningChanged);
}

SpringValue::~SpringValue()
{
    m_driver->stop();
}

bool SpringValue::isRunning() const
{
    return m_driver->state() == QAbstractAnimation::Running;
}

void SpringValue::setTarget(double target)
{
    if (m_hasTarget && m_target == target)
        return;
    m_target = target;
    Q_EMIT targetChanged();
    if (!m_hasTarget) {
        m_hasTarget = true;
        setValue(target);
        return;
    }
    m_from = m_value;
    m_startVelocity = m_velocity;
    if (m_driver->state() == QAbstractAnimation::Running)
        m_driver->stop();
    m_driver->start();
}

void SpringValue::setResponse(double response)
{
    if (response == m_curve.response())
        return;
    m_curve = SpringCurve(response, m_curve.dampingFraction());
    Q_EMIT parametersChanged();
}

void SpringValue::setDampingFraction(double dampingFraction)
{
    if (dampingFraction == m_curve.dampingFraction())
        return;
    m_curve = SpringCurve(m_curve.response(), dampingFraction);
    Q_EMIT parametersChanged();
}

void SpringValue::finish()
{
    m_driver->stop();
    m_velocity = 0;
    setValue(m_target);
}

void SpringValue::advanceTo(double elapsed)
{
    const SpringCurve::State state = m_curve.stateAt(elapsed, m_from, m_target, m_startVelocity);
    // At rest once it is within a thousandth of the distance travelled (or of
    // one unit for short moves) and hardly moving.
    const double scale = std::max(1.0, std::abs(m_target - m_from));
    if (std::abs(state.position - m_target) < 1e-3 * scale && std::abs(state.velocity) < 1e-2 * scale) {
        finish();
        return;
    }
    m_velocity = state.velocity;
    setValue(state.position);
}

void SpringValue::setValue(double value)
{
    if (m_value == value)
        return;
    m_value = value;
    Q_EMIT valueChanged();
}
