// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

import QtQuick
import QtQuick.Controls
import Marlowick

// A growing plain-text field for a title, in the panel's look. It takes at
// most maximumLength characters: of a longer paste, the part that fits.
// It never takes the keyboard focus itself: a press asks for it
// (focusRequested), and the panel's focus state gives it.
TextArea {
    id: area

    property int maximumLength: 10000
    signal focusRequested

    activeFocusOnPress: false
    onPressed: {
        if (!activeFocus)
            focusRequested();
    }

    textFormat: TextEdit.PlainText
    wrapMode: TextEdit.Wrap
    font.pixelSize: 13
    color: PanelColors.primaryLabel
    selectionColor: PanelColors.blue
    background: null
    // Text (and a placeholder) starts at the field's edge, as a title's text
    // does: an edited title stays where it stood. The style adds to the left.
    padding: 0
    leftPadding: 0
    // Right-to-left text too starts at the leading edge of the row.
    horizontalAlignment: TextEdit.AlignLeft

    // Pastes are cut before they are inserted: the field lays out all it is
    // given, and a pasted megabyte would hold the panel up for minutes.
    function pasteWhatFits(selection) {
        const room = maximumLength - length + (selectionEnd - selectionStart);
        const text = ClipboardText.start(Math.max(0, room), selection);
        if (selectionEnd > selectionStart)
            remove(selectionStart, selectionEnd);
        insert(cursorPosition, text);
    }
    Keys.onPressed: event => {
        if (event.matches(StandardKey.Paste)) {
            event.accepted = true;
            pasteWhatFits(false);
        }
    }
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.MiddleButton
        onClicked: mouse => {
            if (!area.activeFocus)
                area.focusRequested();
            area.deselect();
            area.cursorPosition = area.positionAt(mouse.x, mouse.y);
            area.pasteWhatFits(true);
        }
    }

    // Anything else that brings more (typing, an input method): its end goes.
    onTextChanged: {
        const excess = length - maximumLength;
        if (excess <= 0)
            return;
        // The caret ends what came in; the text that was there stays.
        const end = cursorPosition >= excess ? cursorPosition : length;
        let start = end - excess;
        const before = getText(start - 1, start);
        if (start > 0 && before.charCodeAt(0) >= 0xD800 && before.charCodeAt(0) < 0xDC00)
            --start; // keep characters whole
        remove(start, end);
    }
}
