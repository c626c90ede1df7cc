// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spring_curve.h"

#include <QtGlobal>

#include <array>
#include <utility>

#include <algorithm>
#include <cmath>
#include <numbers>

SpringCurve::SpringCurve(double response, double dampingFraction)
    : m_response(std::max(response, 1e-6))
    , m_zeta(std::max(dampingFraction, 0.0))
    , m_w0(2 * std::numbers::pi / m_response)
{
}

SpringCurve::State SpringCurve::stateAt(double t, double from, double to, double velocity) const
{
    // Displacement from the target: a(t) with a(0) = from - to, a'(0) = velocity.
    const double a0 = from - to;
    const double v0 = velocity;
    const double w0 = m_w0;
    const double zeta = m_zeta;
    if (t <= 0)
        return {from, velocity};

    if (zeta < 1) {
        const double wd = w0 * std::sqrt(1 - zeta * zeta);
        const double decay = std::exp(-zeta * w0 * t);
        const double A = a0;
        const double B = (v0 + zeta * w0 * a0) / wd;
        const double c = std::cos(wd * t);
        const double s = std::sin(wd * t);
        const double a = decay * (A * c + B * s);
        const double da = decay * ((B * wd - zeta * w0 * A) * c - (A * wd + zeta * w0 * B) * s);
        return {to + a, da};
    }
    if (zeta == 1) {
        const double decay = std::exp(-w0 * t);
        const double B = v0 + w0 * a0;
        const double a = decay * (a0 + B * t);
        const double da = decay * (B - w0 * (a0 + B * t));
        return {to + a, da};
    }
    // Overdamped: two real decay rates.
    const double root = w0 * std::sqrt(zeta * zeta - 1);
    const double r1 = -zeta * w0 + root;
    const double r2 = -zeta * w0 - root;
    const double c2 = (v0 - r1 * a0) / (r2 - r1);
    const double c1 = a0 - c2;
    const double e1 = std::exp(r1 * t);
    const double e2 = std::exp(r2 * t);
    return {to + c1 * e1 + c2 * e2, c1 * r1 * e1 + c2 * r2 * e2};
}

double SpringCurve::settlingTime(double tolerance) const
{
    // Step forward until the distance and the motion left are both within
    // the tolerance; checked against the envelope so no later ring exceeds it.
    const double dt = m_response / 200;
    double t = 0;
    for (int i = 0; i < 200000; ++i) {
        t += dt;
        double envelope;
        if (m_zeta < 1) {
            const double wd = m_w0 * std::sqrt(1 - m_zeta * m_zeta);
            envelope = std::exp(-m_zeta * m_w0 * t) * std::sqrt(1 + std::pow(m_zeta * m_w0 / wd, 2));
        } else {
            envelope = std::abs(1 - valueAt(t));
        }
        if (envelope <= tolerance)
            return t;
    }
    return t;
}

namespace {

// QEasingCurve's custom curves are plain functions without data, so each
// spring gets one of a few slots that each hold a spring and its duration.
// (Bézier-spline curves cannot stand in: Qt 6.4 corrupts memory copying them.)
struct EasingSlot {
    double response = 0;
    double dampingFraction = 0;
    double duration = 0;
};
constexpr int easingSlotCount = 16;
EasingSlot easingSlots[easingSlotCount];
int usedEasingSlots = 0;

template<int Slot>
qreal slotEasing(qreal progress)
{
    const EasingSlot &slot = easingSlots[Slot];
    if (progress >= 1)
        return 1;
    return SpringCurve(slot.response, slot.dampingFraction).valueAt(progress * slot.duration);
}

template<int... Slots>
constexpr std::array<QEasingCurve::EasingFunction, sizeof...(Slots)> slotFunctions(std::integer_sequence<int, Slots...>)
{
    return {&slotEasing<Slots>...};
}
constexpr auto easingFunctions = slotFunctions(std::make_integer_sequence<int, easingSlotCount>());

} // namespace

QEasingCurve SpringCurve::easingCurve() const
{
    int slot = 0;
    while (slot < usedEasingSlots
           && !(easingSlots[slot].response == m_response && easingSlots[slot].dampingFraction == m_zeta))
        ++slot;
    if (slot == usedEasingSlots) {
        if (slot == easingSlotCount) {
            qWarning("SpringCurve: more than %d springs as easing curves", easingSlotCount);
            return QEasingCurve(QEasingCurve::OutCubic);
        }
        easingSlots[slot] = {m_response, m_zeta, settlingTime()};
        ++usedEasingSlots;
    }
    QEasingCurve curve;
    curve.setCustomType(easingFunctions[slot]);
    return curve;
}
