// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick

// A glyph of the Material Icons font, sized by `size` (pixels = points).
Text {
    id: icon

    property string name
    property real size: 13

    readonly property var codepoints: ({
            "check_circle": "\ue86c",
            "check_circle_outline": "\ue92d",
            "radio_button_unchecked": "\ue836",
            "u_turn_right": "\ueba2",
            "cancel": "\ue5c9",
            "add_circle": "\ue147",
            "arrow_upward": "\ue5d8",
            "arrow_back_ios_new": "\ue2ea",
            "arrow_forward_ios": "\ue5e1",
            "calendar_today": "\ue935",
            "checklist": "\ue6b1",
            "error_outline": "\ue001"
        })

    text: codepoints[name] ?? ""
    textFormat: Text.PlainText
    font.family: "Material Icons"
    font.pixelSize: size
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
