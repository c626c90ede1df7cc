// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import Marlowick

// One line under the day's to-dos while the stored list is not what the
// panel shows: a save failed ("Not saved: ...") or the list could not be
// read at start ("Not read: ..."). No height otherwise.
Item {
    id: noticeView

    property TodoStore store
    readonly property string notice: store ? store.storageNotice : ""

    implicitHeight: notice === "" ? 0 : 26
    visible: notice !== ""
    // The list view says it as it appears.
    Accessible.role: Accessible.AlertMessage
    Accessible.name: notice

    MaterialIcon {
        id: icon
        x: 18
        anchors.verticalCenter: parent.verticalCenter
        name: "error_outline"
        size: 14
        color: PanelColors.orange
    }
    Text {
        objectName: "storageNotice"
        anchors.left: icon.right
        anchors.leftMargin: 6
        anchors.right: parent.right
        anchors.rightMargin: 18
        anchors.verticalCenter: parent.verticalCenter
        text: noticeView.notice
        textFormat: Text.PlainText
        elide: Text.ElideRight
        font.pixelSize: 11
        color: PanelColors.orange
    }
}
