// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// A stand-in for the panel's root view: a black body that opens from the
// notch's width and reports hover, for looking at the panel window by hand.
import QtQuick
import Marlowick

Rectangle {
    id: body
    property QtObject animationState
    property real notchWidth: PanelMetrics.stripWidth

    width: animationState && animationState.isOpen ? PanelMetrics.bodyWidth : notchWidth
    height: animationState && animationState.isOpen ? 240 : 0
    color: "black"
    radius: 14
    Behavior on width { NumberAnimation { duration: 300; easing.type: Easing.OutBack } }
    Behavior on height { NumberAnimation { duration: 300; easing.type: Easing.OutBack } }

    Text {
        anchors.centerIn: parent
        text: "Marlowick"
        color: "white"
        font.pixelSize: 13
        visible: body.height > 40
    }
    HoverHandler {
        onHoveredChanged: if (body.animationState) body.animationState.mouseInPanel = hovered
    }
}
