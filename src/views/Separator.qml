// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import Marlowick

// A thin divider that stops 18 short of each side.
Item {
    implicitHeight: 1
    Rectangle {
        x: 18
        width: parent.width - 36
        height: 1
        color: PanelColors.separator
        Rectangle {
            anchors.fill: parent
            color: PanelColors.white(0.04)
        }
    }
}
