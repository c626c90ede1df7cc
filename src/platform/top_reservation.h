// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QList>
#include <QRect>

#include <optional>

// What the desktop keeps for its top panel, in the X server's pixels.
//
// Dock windows announce the space they take along the screen's top edge
// (_NET_WM_STRUT_PARTIAL, or _NET_WM_STRUT for the whole width); a shell
// that draws its own top bar may announce nothing but the work area left
// over (_NET_WORKAREA).
struct DesktopReservations {
    struct TopStrut {
        // Pixels from the top of the screen (the root window, not a monitor).
        int height = 0;
        // The columns it covers, both inclusive.
        int startX = 0;
        int endX = 0;

        bool operator==(const TopStrut &) const = default;
    };

    std::optional<QRect> workArea;
    QList<TopStrut> topStruts;

    bool operator==(const DesktopReservations &) const = default;
};

// The height kept at the top of monitor: the largest of the struts that
// cover its top centre, each counted only when it lies inside the monitor (a
// bogus value reserves nothing rather than a monitor's whole height). The
// work area counts only where nothing else can explain it: on the screen's
// sole monitor (it is one rectangle for the whole screen, which says nothing
// of one monitor among several), and without a dock's top strut on that
// monitor (a window manager cuts the work area by every strut, also a small
// one off the centre).
int reservedTop(const QRect &monitor, const DesktopReservations &reservations, bool soleMonitor);
