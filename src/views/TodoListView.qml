import QtQuick
import QtQuick.Controls
import Marlowick

// The content of the open panel: the day header with its chevrons, the day's
// to-dos (or a placeholder when it has none) and the add field. Made anew each
// time the panel opens, so its focus, selection and editing state start
// empty.
FocusScope {
    id: listView

    property TodoStore store
    // The keyboard and focus state of this panel; the keyboard handling works
    // on the same object.
    readonly property PanelFocusState focusState: PanelFocusState {}
    readonly property DayTodoListModel dayModel: DayTodoListModel {
        store: listView.store
    }
    readonly property alias rows: list
    // The key handlers of the elements below; each press that a handler
    // leaves goes on to the enclosing element.
    readonly property PanelKeyboard keyboard: PanelKeyboard {
        focusState: listView.focusState
        store: listView.store
        onCloseRequested: listView.closeRequested()
    }
    // Escape: the panel is to close.
    signal closeRequested

    // The keyboard goes to the add field (a shortcut opened the panel).
    function focusAddField() {
        focusState.focusSection(PanelFocusState.Input);
    }

    // Tab, wherever the focus is in the panel.
    Keys.onPressed: event => event.accepted = keyboard.viewKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)

    // The most height the view may take: when the list and the add field
    // would not both fit, the list gives up height (it scrolls) first, then
    // the field gives up lines.
    property real maximumHeight: Number.POSITIVE_INFINITY
    // Everything the view shows besides the list and the add field. A line
    // added to the view belongs here, so that the list makes room for it.
    readonly property real otherHeight: header.height + topSeparator.height + placeholder.height + notice.height + bottomSeparator.height
    readonly property real roomForListAndField: maximumHeight - otherHeight
    // What the list keeps before the field gives up lines: about two rows.
    readonly property real minimumListHeight: 80

    implicitHeight: otherHeight + list.height + addView.height

    // Gives the keyboard focus to the element of the focus state's section.
    // The state alone decides: what the focus does is never written back.
    function applyFocusedSection() {
        switch (focusState.focusedSection) {
        case PanelFocusState.Date:
            header.forceActiveFocus();
            break;
        case PanelFocusState.List:
            if (dayModel.count > 0)
                list.forceActiveFocus();
            else
                placeholder.forceActiveFocus();
            break;
        case PanelFocusState.Input:
            addView.textField.forceActiveFocus();
            break;
        case PanelFocusState.NoSection:
            // The view itself keeps the focus, so that Tab still comes here.
            if (header.activeFocus || list.activeFocus || placeholder.activeFocus || addView.textField.activeFocus) {
                header.focus = false;
                list.focus = false;
                placeholder.focus = false;
                addView.textField.focus = false;
                listView.forceActiveFocus();
            }
            break;
        }
    }
    Connections {
        target: listView.focusState
        function onFocusedSectionChanged() {
            listView.applyFocusedSection();
        }
    }
    // The selected row is always in view: the keyboard acts on it.
    Connections {
        target: listView.focusState
        function onSelectedItemIDChanged() {
            const row = listView.dayModel.rowOf(listView.focusState.selectedItemID);
            if (row >= 0)
                list.positionViewAtIndex(row, ListView.Contain);
        }
    }
    // The list and the placeholder are one section: when one takes the place
    // of the other, the focus goes with it.
    Connections {
        target: listView.dayModel
        function onCountChanged() {
            if (listView.focusState.focusedSection === PanelFocusState.List)
                listView.applyFocusedSection();
        }
    }
    // An edit in place that is still open when the panel closes is kept, as
    // focus leaving it would keep it.
    function commitEdit() {
        const row = list.itemAtIndex(dayModel.rowOf(focusState.editingItemID));
        if (row)
            row.commitEdit();
    }
    // Stacked top to bottom by anchors (a Column would not place the list or
    // the placeholder while its height is 0, and would place it only at the
    // next frame once it grows).
    Item {
        id: column
        width: parent.width
        height: listView.implicitHeight

        // The day header.
        FocusScope {
            id: header
            objectName: "dayHeader"
            width: parent.width
            height: 44
            activeFocusOnTab: false
            Keys.onPressed: event => event.accepted = listView.keyboard.headerKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)

            Rectangle {
                x: 6
                width: parent.width - 12
                height: parent.height
                radius: 6
                color: listView.focusState.dateFocusedViaTab ? PanelColors.white(0.06) : "transparent"
            }
            MouseArea {
                anchors.fill: parent
                onClicked: listView.focusState.focusSection(PanelFocusState.Date)
            }

            Item {
                objectName: "previousDayButton"
                x: 10
                y: 10
                width: 28
                height: 28
                MaterialIcon {
                    anchors.centerIn: parent
                    name: "arrow_back_ios_new"
                    size: 15
                    // Semibold: the icon font's one weight, drawn heavier.
                    font.weight: Font.Bold
                    color: PanelColors.white(0.5)
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: listView.store.goToPreviousDay()
                }
            }

            // The label cross-fades from the old day to the new one.
            Item {
                id: dayLabel
                anchors.horizontalCenter: parent.horizontalCenter
                y: 10
                height: 28
                width: parent.width - 2 * 38
                property string shown: listView.store ? listView.store.selectedDateLabel : ""
                property string previous: ""
                property real progress: 1
                onShownChanged: {
                    labelChange.stop();
                    // A list made ahead of time takes a new day before it is
                    // shown, without a transition.
                    if (!visible) {
                        previous = shown;
                        progress = 1;
                        return;
                    }
                    progress = 0;
                    labelChange.start();
                }
                NumberAnimation {
                    id: labelChange
                    target: dayLabel
                    property: "progress"
                    from: 0
                    to: 1
                    duration: SpringEasing.duration(0.25, 1)
                    easing: SpringEasing.curve(0.25, 1)
                    onStopped: dayLabel.previous = dayLabel.shown
                }
                Text {
                    anchors.centerIn: parent
                    text: dayLabel.previous
                    visible: dayLabel.progress < 1
                    opacity: 1 - dayLabel.progress
                    scale: 1 - 0.1 * dayLabel.progress
                    textFormat: Text.PlainText
                    font.pixelSize: 13
                    font.weight: Font.DemiBold
                    color: "white"
                }
                Text {
                    objectName: "dayLabel"
                    anchors.centerIn: parent
                    text: dayLabel.shown
                    opacity: dayLabel.progress
                    scale: 0.9 + 0.1 * dayLabel.progress
                    textFormat: Text.PlainText
                    font.pixelSize: 13
                    font.weight: Font.DemiBold
                    color: "white"
                }
            }

            Item {
                objectName: "nextDayButton"
                x: parent.width - 10 - width
                y: 10
                width: 28
                height: 28
                MaterialIcon {
                    anchors.centerIn: parent
                    name: "arrow_forward_ios"
                    size: 15
                    // Semibold: the icon font's one weight, drawn heavier.
                    font.weight: Font.Bold
                    color: PanelColors.white(0.5)
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: listView.store.goToNextDay()
                }
            }
        }

        Separator {
            id: topSeparator
            anchors.top: header.bottom
            width: parent.width
        }

        // The day's to-dos, built lazily, at most 320 high; no height on a
        // day without to-dos.
        ListView {
            id: list
            objectName: "todoList"
            readonly property bool shown: listView.dayModel.count > 0
            anchors.top: topSeparator.bottom
            x: 8
            width: parent.width - 16
            readonly property real naturalHeight: shown ? Math.min(contentHeight + topMargin + bottomMargin, 320) : 0
            // Rows coming and going change the height smoothly; the room
            // left by the rest of the view cuts it at once.
            property real shownHeight: naturalHeight
            height: Math.max(0, Math.min(shownHeight, listView.roomForListAndField - addView.height))
            // (Not while the panel opens: the list starts at its full height.)
            property bool animatesHeight: false
            Timer {
                interval: 100
                running: true
                onTriggered: list.animatesHeight = true
            }
            Behavior on shownHeight {
                enabled: list.shown && list.animatesHeight
                NumberAnimation {
                    duration: SpringEasing.duration(0.25, 1)
                    easing: SpringEasing.curve(0.25, 1)
                }
            }
            topMargin: 6
            bottomMargin: 6
            spacing: 4
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            activeFocusOnTab: false
            // The selection is the panel's own, not the list's current item.
            keyNavigationEnabled: false
            Keys.onPressed: event => event.accepted = listView.keyboard.listKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)
            model: listView.dayModel
            ScrollIndicator.vertical: ScrollIndicator {}

            delegate: TodoRowView {
                width: ListView.view.width
                dayModel: listView.dayModel
                focusState: listView.focusState
                showMoveToToday: !listView.dayModel.isToday
                isSelected: listView.focusState.focusedSection === PanelFocusState.List && listView.focusState.selectedItemID === itemId
                onTap: listView.focusState.focusSection(PanelFocusState.List)
                onTabPressed: listView.keyboard.cycleFocus()
            }

            add: Transition {
                NumberAnimation {
                    property: "opacity"
                    from: 0
                    to: 1
                    duration: 200
                    easing.type: Easing.InOutQuad
                }
            }
            remove: Transition {
                // A row on its way out takes no more clicks.
                PropertyAction {
                    property: "enabled"
                    value: false
                }
                NumberAnimation {
                    property: "opacity"
                    to: 0
                    duration: SpringEasing.duration(0.25, 1)
                    easing: SpringEasing.curve(0.25, 1)
                }
            }
            displaced: Transition {
                NumberAnimation {
                    property: "y"
                    duration: SpringEasing.duration(0.25, 1)
                    easing: SpringEasing.curve(0.25, 1)
                }
                // A row whose insertion was interrupted still ends visible.
                NumberAnimation {
                    property: "opacity"
                    to: 1
                    duration: 200
                }
            }
        }

        // Stands in for the list on a day without to-dos.
        FocusScope {
            id: placeholder
            objectName: "placeholder"
            readonly property bool shown: listView.dayModel.count === 0
            anchors.top: list.bottom
            width: parent.width
            height: shown ? 100 : 0
            clip: true
            activeFocusOnTab: false
            Keys.onPressed: event => event.accepted = listView.keyboard.placeholderKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)

            MouseArea {
                anchors.fill: parent
                onClicked: listView.focusState.focusSection(PanelFocusState.List)
            }
            Column {
                anchors.centerIn: parent
                visible: placeholder.shown
                spacing: 8
                MaterialIcon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: listView.dayModel.isToday ? "check_circle_outline" : "calendar_today"
                    size: 28
                    color: PanelColors.white(0.2)
                }
                Text {
                    objectName: "placeholderTitle"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: listView.dayModel.isToday ? qsTr("All clear!") : qsTr("Nothing here")
                    font.pixelSize: 13
                    font.weight: Font.Medium
                    color: PanelColors.white(0.5)
                }
                Text {
                    objectName: "placeholderSubtitle"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: listView.dayModel.isToday ? qsTr("Add a to-do below") : qsTr("No tasks for this day")
                    font.pixelSize: 11
                    color: PanelColors.white(0.3)
                }
            }
        }

        StorageNoticeView {
            id: notice
            anchors.top: placeholder.bottom
            width: parent.width
            height: implicitHeight
            store: listView.store
        }

        Separator {
            id: bottomSeparator
            anchors.top: notice.bottom
            width: parent.width
        }

        AddTodoView {
            id: addView
            anchors.top: bottomSeparator.bottom
            width: parent.width
            store: listView.store
            focusState: listView.focusState
            maxLength: listView.dayModel.maxTitleLength
            maximumHeight: listView.roomForListAndField - Math.min(list.naturalHeight, listView.minimumListHeight)
            onTabPressed: listView.keyboard.cycleFocus()
        }
    }
}
