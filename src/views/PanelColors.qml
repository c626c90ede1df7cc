// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

pragma Singleton
import QtQuick

// The panel's colours, always the dark scheme: a black body and white at
// various opacities.
QtObject {
    readonly property color body: "black"
    readonly property color primaryLabel: Qt.rgba(1, 1, 1, 0.85)
    readonly property color secondaryLabel: Qt.rgba(235 / 255, 235 / 255, 245 / 255, 0.6)
    readonly property color green: "#30d158"
    readonly property color blue: "#0a84ff"
    readonly property color orange: "#ff9f0a"
    readonly property color separator: Qt.rgba(1, 1, 1, 0.1)
    // Lifted a little from the body, so that a tooltip shows over it.
    readonly property color toolTip: "#2c2c2e"

    function white(opacity) {
        return Qt.rgba(1, 1, 1, opacity);
    }
}
