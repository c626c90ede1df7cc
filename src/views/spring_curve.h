// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QEasingCurve>

// A damped harmonic oscillator given by its response (the period of the
// undamped oscillation, in seconds) and its damping fraction: below 1 it
// overshoots and rings, at 1 and above it settles without overshoot.
//
// It moves a value from `from` to `to`, starting with `velocity` (units per
// second), so that a running motion can be retargeted without a jump or a
// kink. With from 0, to 1 and velocity 0 it is
//   x(t) = 1 - e^(-zeta w0 t) (cos(wd t) + zeta w0 / wd sin(wd t))   (zeta < 1)
//   x(t) = 1 - e^(-w0 t) (1 + w0 t)                                  (zeta = 1)
// with w0 = 2 pi / response and wd = w0 sqrt(1 - zeta^2).
class SpringCurve
{
public:
    SpringCurve(double response, double dampingFraction);

    double response() const { return m_response; }
    double dampingFraction() const { return m_zeta; }

    struct State {
        double position;
        double velocity;
    };
    // Where the motion is after t seconds.
    State stateAt(double t, double from, double to, double velocity = 0) const;
    // The unit step: from 0 to 1 at rest.
    double valueAt(double t) const { return stateAt(t, 0, 1).position; }

    // The time after which the unit step stays within `tolerance` of 1 (a
    // bound from the envelope of the oscillation, so it holds for every later
    // instant).
    double settlingTime(double tolerance = 0.001) const;

    // The unit step over its settling time as an easing curve (time and
    // progress both scaled to 0..1), for animations of fixed duration. Up to
    // 16 different springs can have one.
    QEasingCurve easingCurve() const;

private:
    double m_response;
    double m_zeta;
    double m_w0;
};
