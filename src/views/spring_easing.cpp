// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spring_easing.h"

#include "views/spring_curve.h"

#include <cmath>

QEasingCurve SpringEasing::curve(double response, double dampingFraction)
{
    return SpringCurve(response, dampingFraction).easingCurve();
}

int SpringEasing::duration(double response, double dampingFraction)
{
    return int(std::lround(SpringCurve(response, dampingFraction).settlingTime() * 1000));
}
