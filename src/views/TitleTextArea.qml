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

    required property int maximumLength
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

    // Characters as the command line counts them: code points, a surrogate
    // pair one.
    function characterCount(s) {
        const pairs = s.match(/[\uD800-\uDBFF][\uDC00-\uDFFF]/g);
        return s.length - (pairs ? pairs.length : 0);
    }
    // Where the `count` characters before `end` start, pairs kept whole.
    function startOfCharactersBefore(end, count) {
        let start = end;
        for (; count > 0 && start > 0; --count) {
            const low = text.charCodeAt(start - 1);
            const high = start > 1 ? text.charCodeAt(start - 2) : 0;
            start -= (low >= 0xDC00 && low < 0xE000 && high >= 0xD800 && high < 0xDC00) ? 2 : 1;
        }
        return start;
    }

    // Pastes are cut before they are inserted: the field lays out all it is
    // given, and a pasted megabyte would hold the panel up for minutes.
    function pasteWhatFits(selection) {
        const room = maximumLength - characterCount(text) + characterCount(selectedText);
        const pasted = ClipboardText.start(Math.max(0, room), selection);
        if (selectionEnd > selectionStart)
            remove(selectionStart, selectionEnd);
        insert(cursorPosition, pasted);
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
        const excess = characterCount(text) - maximumLength;
        if (excess <= 0)
            return;
        // The caret ends what came in; the text that was there stays.
        const beforeCaret = characterCount(getText(0, cursorPosition));
        const end = beforeCaret >= excess ? cursorPosition : length;
        remove(startOfCharactersBefore(end, excess), end);
    }
}
