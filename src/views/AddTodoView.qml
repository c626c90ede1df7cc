// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import QtQuick.Controls
import Marlowick

// The field for a new to-do of the shown day and its round button. The text
// is the store's draft, so it survives closing the panel.
Item {
    id: addView

    property TodoStore store
    property PanelFocusState focusState
    // The longest text the field takes: the store's rule.
    readonly property int maxLength: store ? store.maxTitleLength : 0
    // The most height the view may take; the field shows at least one line.
    property real maximumHeight: Infinity

    readonly property bool canSubmit: store !== null && store.canAddDraft
    readonly property alias textField: textField
    // Tab in the field: the field types no tab, Tab moves the panel's focus.
    signal tabPressed

    // The field's section takes the keyboard.
    function focusInput() {
        if (focusState)
            focusState.focusSection(PanelFocusState.Input);
    }
    function submitDraft() {
        if (store)
            store.addDraft();
    }

    // The button morphs from the grey plus (0) to the white arrow (1).
    SpringValue {
        id: morph
        response: 0.35
        dampingFraction: 1
        target: addView.canSubmit ? 1 : 0
    }

    // The height of one line as the field lays lines out, which is more
    // than the font's own height.
    readonly property real lineHeight: eightLines.contentHeight / 8
    TextEdit {
        id: eightLines
        visible: false
        font: textField.font
        textFormat: TextEdit.PlainText
        text: "\n\n\n\n\n\n\n"
    }
    // Whole lines: eight, or fewer where the view has no room for them.
    readonly property int linesShown: Math.max(1, Math.min(8, Math.floor((maximumHeight - 24) / lineHeight)))

    implicitHeight: Math.max(flick.height, button.height) + 24

    // Grows with the text from one line to linesShown, then scrolls.
    Flickable {
        id: flick
        x: 16
        width: button.x - 8 - x
        height: Math.min(textField.implicitHeight, addView.lineHeight * addView.linesShown)
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 12
        contentWidth: width
        contentHeight: textField.implicitHeight
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        interactive: contentHeight > height
        // The text wraps and never scrolls sideways; keeping the caret in
        // view would otherwise shift it by the caret's width.
        flickableDirection: Flickable.VerticalFlick
        onContentXChanged: contentX = 0

        TextArea.flickable: TitleTextArea {
            id: textField
            objectName: "addField"
            text: addView.store ? addView.store.draftText : ""
            onTextChanged: {
                if (addView.store && addView.store.draftText !== text)
                    addView.store.draftText = text;
            }
            maximumLength: addView.maxLength
            // Keys go to the window that holds the keyboard. The field's
            // focus only counts while the panel's window holds it (it has
            // no caret otherwise); until then the field says where to click.
            readonly property bool keyboardElsewhere: addView.focusState !== null
                && addView.focusState.focusedSection === PanelFocusState.Input && !Window.active
            placeholderText: keyboardElsewhere ? qsTr("Click here to type: another window has the keyboard")
                                               : qsTr("Add a to-do...")
                        Accessible.name: qsTr("New to-do")
            // 5.3:1 on the black body (at least 4.5:1 for text to read).
            placeholderTextColor: PanelColors.white(0.5)
            Keys.onReturnPressed: event => {
                // Shift-Return breaks the line.
                if (event.modifiers & Qt.ShiftModifier) {
                    event.accepted = false;
                    return;
                }
                event.accepted = true;
                addView.submitDraft();
            }
            Keys.onEnterPressed: event => {
                event.accepted = true;
                addView.submitDraft();
            }
            Keys.onTabPressed: event => {
                event.accepted = true;
                addView.tabPressed();
            }
            Keys.onBacktabPressed: event => {
                event.accepted = true;
                addView.tabPressed();
            }
            // A kept draft is taken up where it ends (a click then puts the
            // caret where it points).
            onActiveFocusChanged: {
                if (activeFocus)
                    cursorPosition = length;
            }
            onFocusRequested: addView.focusInput()
        }
    }

    Item {
        id: button
        objectName: "addButton"
        width: 16
        height: 16
        x: addView.width - 16 - width
        anchors.bottom: parent.bottom
        // Level with the bottom line of the field.
        anchors.bottomMargin: 12 + Math.max(0, (addView.lineHeight - height) / 2)

        // The glyphs' discs fill the button.
        MaterialIcon {
            anchors.centerIn: parent
            name: "add_circle"
            size: 16 * 24 / 20
            color: PanelColors.secondaryLabel
            opacity: Math.max(0, Math.min(1, 1 - morph.value))
            rotation: 90 * morph.value
        }
        // Filled as the plus is: a white disc with the arrow cut out of it.
        Rectangle {
            anchors.fill: parent
            radius: width / 2
            color: "white"
            opacity: Math.max(0, Math.min(1, morph.value))
            rotation: -90 * (1 - morph.value)
            MaterialIcon {
                anchors.centerIn: parent
                name: "arrow_upward"
                size: 13
                color: PanelColors.body
            }
        }
        MouseArea {
            anchors.fill: parent
            anchors.margins: -4
            onClicked: {
                if (addView.canSubmit)
                    addView.submitDraft();
                else
                    addView.focusInput();
            }
        }

        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Add")
        function accessiblePressAction() {
            if (addView.canSubmit)
                addView.submitDraft();
            else
                addView.focusInput();
        }
    }
}
