// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Marlowick

// One to-do of the shown day: its completion icon, its title (edited in place
// after a double click) and, while hovered, the move-to-today and delete
// buttons. Changes go to the store through the day model.
Item {
    id: row

    // The to-do shown (from the model) and where its actions go.
    required property string itemId
    required property string title
    // The title as far as the row shows it.
    required property string shownTitle
    required property bool isCompleted
    property DayTodoListModel dayModel
    property PanelFocusState focusState
    property bool showMoveToToday: false
    property bool isSelected: false
    // Runs before each of the row's store actions.
    signal tap
    // Tab in the edit field: it types no tab, Tab moves the panel's focus
    // (and the edit ends as the field loses it).
    signal tabPressed

    readonly property bool isEditing: focusState !== null && focusState.editingItemID !== "" && focusState.editingItemID === itemId
    readonly property bool isHovering: hover.hovered
    property string editText: ""
    // A single click on the title waits to be sure no second click follows.
    readonly property bool pendingToggle: singleClick.running

    // Follows isHovering over 0.15 s; fades the fill and the action buttons.
    property real hoverAmount: isHovering ? 1 : 0
    Behavior on hoverAmount {
        NumberAnimation {
            duration: 150
            easing.type: Easing.InOutQuad
        }
    }

    function beginEdit() {
        editText = dayModel.editablePart(title);
        focusState.beginEditing(itemId);
    }
    function commitEdit() {
        if (!isEditing)
            return;
        focusState.endEditing();
        dayModel.updateEditedTitle(itemId, editText);
    }
    function cancelEdit() {
        focusState.endEditing();
        editText = dayModel.editablePart(title);
    }
    function toggle() {
        row.tap();
        dayModel.toggleCompletion(itemId);
    }

    implicitHeight: Math.max(icon.implicitHeight, titleArea.height, 18) + 14

    // A list item named by its title that can be checked; the selected row is
    // where the keyboard acts, so it is the focus for assistive technology.
    readonly property bool isCurrent: isSelected && !isEditing
    Accessible.role: Accessible.ListItem
    Accessible.name: shownTitle
    Accessible.checkable: true
    Accessible.checked: isCompleted
    Accessible.selectable: true
    Accessible.selected: isSelected
    Accessible.focusable: true
    Accessible.focused: isCurrent
    Accessible.onSelectedChanged: AccessibleEvents.selectionChanged(row)
    onIsCurrentChanged: {
        if (isCurrent)
            AccessibleEvents.focusMoved(row);
    }
    Accessible.onToggleAction: row.toggle()
    // The row's buttons show to assistive technology while it is selected,
    // as they show to the eye while it is hovered.
    readonly property bool showsActions: isSelected || isHovering
    // Where the circle and the buttons stand: level with the title's first
    // line and, while a row taller than the list is scrolled past its top,
    // as far below the top of what shows of it, so that they stay in view.
    readonly property real controlsCentre: {
        const firstLine = titleArea.y + Math.min(titleArea.height, titleMetrics.height) / 2;
        const view = ListView.view;
        if (!view)
            return firstLine;
        const shownTop = view.contentY - y;
        return Math.max(firstLine, Math.min(shownTop + firstLine, height - firstLine));
    }
    FontMetrics {
        id: titleMetrics
        font: titleText.font
    }
    onIsEditingChanged: titleArea.showEditField(isEditing)
    // A row made again (scrolled back into view) while its to-do is edited.
    Component.onCompleted: titleArea.showEditField(isEditing)

    HoverHandler {
        id: hover
    }

    Rectangle {
        objectName: "rowFill"
        anchors.fill: parent
        radius: 8
        color: row.isSelected ? PanelColors.white(0.1) : PanelColors.white(0.06 * row.hoverAmount)
    }

    // The empty circle turns into the green check (and back) on the toggle's
    // spring: the two glyphs cross-fade with a slight pop.
    Item {
        id: icon
        objectName: "completionIcon"
        x: 10
        width: 18
        height: 18
        implicitHeight: 18
        y: row.controlsCentre - height / 2

        property real done: row.isCompleted ? 1 : 0
        Behavior on done {
            NumberAnimation {
                duration: SpringEasing.duration(0.3, 1)
                easing: SpringEasing.curve(0.3, 1)
            }
        }

        MaterialIcon {
            anchors.centerIn: parent
            name: "radio_button_unchecked"
            size: 18
            color: PanelColors.secondaryLabel
            opacity: 1 - icon.done
        }
        MaterialIcon {
            anchors.centerIn: parent
            name: "check_circle"
            size: 18
            color: PanelColors.green
            opacity: icon.done
            scale: 0.7 + 0.3 * icon.done
        }
        MouseArea {
            anchors.fill: parent
            anchors.margins: -3
            onClicked: row.toggle()
        }

        Accessible.role: Accessible.CheckBox
        Accessible.name: qsTr("Done")
        Accessible.checkable: true
        Accessible.checked: row.isCompleted
        function accessiblePressAction() {
            row.toggle();
        }
        function accessibleToggleAction() {
            row.toggle();
        }
    }

    Item {
        id: titleArea
        objectName: "titleArea"
        x: icon.x + icon.width + 10
        width: actionArea.x - 10 - x
        height: editField ? editField.height : titleText.implicitHeight
        anchors.verticalCenter: parent.verticalCenter

        Text {
            id: titleText
            objectName: "titleText"
            visible: !row.isEditing
            width: parent.width
            text: row.shownTitle
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            // Whatever the script: a right-to-left title would otherwise
            // stand at the far end from its circle.
            horizontalAlignment: Text.AlignLeft
            font.pixelSize: 13
            font.strikeout: row.isCompleted
            color: row.isCompleted ? PanelColors.secondaryLabel : PanelColors.primaryLabel
        }

        // A single click toggles once no second click can follow within the
        // platform's double-click time; a double click edits instead.
        MouseArea {
            anchors.fill: parent
            enabled: !row.isEditing
            onClicked: singleClick.restart()
            onDoubleClicked: {
                singleClick.stop();
                row.beginEdit();
            }
        }
        Timer {
            id: singleClick
            interval: Application.styleHints.mouseDoubleClickInterval
            onTriggered: row.toggle()
        }

        // The edit field exists while the row is edited, and holds the
        // keyboard meanwhile. (Made here, not by a Loader: Qt 6.4's Loader
        // cannot make a component bound to this file.)
        property TitleTextArea editField: null
        function showEditField(shown) {
            if (shown && !editField) {
                editField = editFieldMaker.createObject(titleArea);
                editField.cursorPosition = editField.length;
                editField.forceActiveFocus();
            } else if (!shown && editField) {
                editField.visible = false; // at once, not when it goes
                editField.destroy();
                editField = null;
            }
        }
        Component {
            id: editFieldMaker
            TitleTextArea {
                objectName: "editField"
                Accessible.name: qsTr("Title")
                width: titleArea.width
                maximumLength: row.dayModel.maxTitleLength
                text: row.editText
                onTextChanged: row.editText = text
                Keys.onReturnPressed: event => {
                    event.accepted = true;
                    row.commitEdit();
                }
                Keys.onEnterPressed: event => {
                    event.accepted = true;
                    row.commitEdit();
                }
                Keys.onEscapePressed: event => {
                    event.accepted = true;
                    row.cancelEdit();
                }
                Keys.onTabPressed: event => {
                    event.accepted = true;
                    row.tabPressed();
                }
                Keys.onBacktabPressed: event => {
                    event.accepted = true;
                    row.tabPressed();
                }
                onFocusRequested: forceActiveFocus()
                onActiveFocusChanged: {
                    if (!activeFocus)
                        row.commitEdit();
                }
            }
        }
    }

    // Keeps its width whether or not the buttons show, so hover never moves
    // the title. The arrow's glyph takes its first 14, the cross's its last
    // 18; each button's hit area is 24 square, the two meeting halfway
    // between the glyphs.
    Item {
        id: actionArea
        objectName: "actionArea"
        width: row.showMoveToToday ? 38 : 18
        height: 24
        x: row.width - 10 - width
        y: row.controlsCentre - height / 2
        readonly property real split: 17

        // A U-turn on its side: the arrow on top points ahead.
        MaterialIcon {
            id: moveButton
            objectName: "moveToTodayButton"
            visible: row.showMoveToToday
            width: 14
            height: 14
            anchors.verticalCenter: parent.verticalCenter
            name: "u_turn_right"
            size: 17
            rotation: -90
            // The icon font has one weight; asked for bold, it is drawn
            // heavier, as the arrow's medium weight should be.
            font.weight: Font.Bold
            color: Qt.rgba(PanelColors.blue.r, PanelColors.blue.g, PanelColors.blue.b, 0.8)
            opacity: row.hoverAmount
        }
        MouseArea {
            id: moveArea
            visible: row.showMoveToToday
            enabled: row.isHovering
            hoverEnabled: true
            x: actionArea.split - width
            width: 24
            height: 24
            anchors.verticalCenter: parent.verticalCenter
            onClicked: {
                row.tap();
                row.dayModel.moveToToday(row.itemId);
            }
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Move to today")
            Accessible.ignored: !row.showsActions || !row.showMoveToToday
            function accessiblePressAction() {
                row.tap();
                row.dayModel.moveToToday(row.itemId);
            }
            // The tooltip is made the first time the arrow is pointed at,
            // not with every row. Made visible only once it exists, it
            // waits its delay.
            onContainsMouseChanged: {
                if (!containsMouse || actionArea.moveTip)
                    return;
                actionArea.moveTip = moveTipMaker.createObject(actionArea);
                actionArea.moveTip.visible = Qt.binding(() => moveArea.containsMouse);
            }
        }
        property ToolTip moveTip: null
        Component {
            id: moveTipMaker
            PanelToolTip {
                objectName: "moveToTodayTip"
                target: moveArea
                // The panel's content: beside the arrow, the tip would
                // cover its row's title; it goes below the row, or above
                // it where the content ends, over other rows, the header
                // or the add field.
                bounds: row.ListView.view ? row.ListView.view.parent : null
                text: qsTr("Move to today")
                x: outsideRow.x
                y: outsideRow.y
                readonly property point outsideRow: {
                    if (!visible || !bounds)
                        return placement;
                    const area = bounds.mapToItem(moveArea, 0, 0, bounds.width, bounds.height);
                    const rowArea = row.mapToItem(moveArea, 0, 0, row.width, row.height);
                    const left = Math.max(area.x, Math.min(moveArea.width - implicitWidth, area.x + area.width - implicitWidth));
                    const below = rowArea.y + rowArea.height + 2;
                    if (below + implicitHeight <= area.y + area.height)
                        return Qt.point(left, below);
                    const above = rowArea.y - 2 - implicitHeight;
                    return above >= area.y ? Qt.point(left, above) : placement;
                }
            }
        }

        // No pressed look: the glyph is drawn the same while held.
        MaterialIcon {
            objectName: "deleteButton"
            x: parent.width - width
            width: 18
            height: 18
            anchors.verticalCenter: parent.verticalCenter
            name: "cancel"
            size: 18
            color: PanelColors.secondaryLabel
            opacity: row.hoverAmount
        }
        MouseArea {
            x: row.showMoveToToday ? actionArea.split : (parent.width - width) / 2
            width: 24
            height: 24
            anchors.verticalCenter: parent.verticalCenter
            enabled: row.isHovering
            onClicked: {
                row.tap();
                row.dayModel.deleteTodo(row.itemId);
            }
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Delete")
            Accessible.ignored: !row.showsActions
            function accessiblePressAction() {
                row.tap();
                row.dayModel.deleteTodo(row.itemId);
            }
        }
    }
}
