// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import Marlowick

// Hosts the panel's root view as the panel window will: at the top of a
// window of the panel window's size, centred horizontally, the rest empty and
// transparent.
Item {
    id: host

    required property TodoStore store
    required property NotchAnimationState animationState
    property real notchWidth: PanelMetrics.stripWidth

    // Key presses that nothing in the panel took.
    property int escapesSeen: 0
    Keys.onEscapePressed: escapesSeen++

    width: PanelMetrics.windowWidth
    height: PanelMetrics.windowHeight

    PanelContainerView {
        objectName: "panelContainer"
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        store: host.store
        animationState: host.animationState
        notchWidth: host.notchWidth
    }
}
