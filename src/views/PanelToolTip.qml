// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import QtQuick.Controls
import Marlowick

// A tooltip in the panel's dark look. It shows beside its target, to the
// left, and stays within `bounds` (the part of the panel it may cover),
// whatever the target's place in it.
ToolTip {
    id: tip

    property Item target
    property Item bounds

    parent: target
    delay: Application.styleHints.mousePressAndHoldInterval
    padding: 0
    leftPadding: 7
    rightPadding: 7
    topPadding: 4
    bottomPadding: 4
    // Placed anew each time it shows (and as its size settles).
    x: placement.x
    y: placement.y
    readonly property point placement: {
        let left = -implicitWidth - 4;
        let top = ((target ? target.height : 0) - implicitHeight) / 2;
        if (visible && target && bounds) {
            const area = bounds.mapToItem(target, 0, 0, bounds.width, bounds.height);
            left = Math.max(area.x, Math.min(left, area.x + area.width - implicitWidth));
            top = Math.max(area.y, Math.min(top, area.y + area.height - implicitHeight));
        }
        return Qt.point(left, top);
    }

    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: PanelColors.primaryLabel
    }
    background: Rectangle {
        radius: 5
        color: PanelColors.toolTip
        border.width: 1
        border.color: PanelColors.white(0.12)
    }
}
