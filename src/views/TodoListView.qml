// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Marlowick

// The content of the open panel: the day header with its chevrons, the day's
// to-dos (or a placeholder when it has none) and the add field. Made anew each
// time the panel opens, so its focus, selection and editing state start
// empty.
FocusScope {
    id: todoList

    property TodoStore store
    // The keyboard and focus state of this panel; the keyboard handling works
    // on the same object.
    readonly property PanelFocusState focusState: PanelFocusState {}
    readonly property DayTodoListModel dayModel: DayTodoListModel {
        store: todoList.store
    }
    // The key handlers of the elements below; each press that a handler
    // leaves goes on to the enclosing element.
    readonly property PanelKeyboard keyboard: PanelKeyboard {
        focusState: todoList.focusState
        store: todoList.store
        onCloseRequested: todoList.closeRequested()
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
    property real maximumHeight: Infinity
    // Everything the view shows besides the list and the add field. A line
    // added to the view belongs here, so that the list makes room for it.
    readonly property real otherHeight: header.height + topSeparator.height + placeholder.height + noticeView.height + bottomSeparator.height
    readonly property real roomForListAndField: maximumHeight - otherHeight
    // What the list keeps before the field gives up lines: about two rows.
    readonly property real minimumListHeight: 80

    implicitHeight: otherHeight + listView.height + addView.height

    // Gives the keyboard focus to the element of the focus state's section.
    // The state alone decides: what the focus does is never written back.
    function applyFocusedSection() {
        switch (focusState.focusedSection) {
        case PanelFocusState.Date:
            header.forceActiveFocus();
            break;
        case PanelFocusState.List:
            if (dayModel.count > 0)
                listView.forceActiveFocus();
            else
                placeholder.forceActiveFocus();
            break;
        case PanelFocusState.Input:
            addView.textField.forceActiveFocus();
            break;
        case PanelFocusState.NoSection:
            // The view itself keeps the focus, so that Tab still comes here.
            if (header.activeFocus || listView.activeFocus || placeholder.activeFocus || addView.textField.activeFocus) {
                header.focus = false;
                listView.focus = false;
                placeholder.focus = false;
                addView.textField.focus = false;
                todoList.forceActiveFocus();
            }
            break;
        }
    }
    Connections {
        target: todoList.focusState
        function onFocusedSectionChanged() {
            todoList.applyFocusedSection();
        }
    }
    // The selected row is always in view: the keyboard acts on it.
    Connections {
        target: todoList.focusState
        function onSelectedItemIDChanged() {
            const row = todoList.dayModel.rowOf(todoList.focusState.selectedItemID);
            if (row >= 0)
                listView.positionViewAtIndex(row, ListView.Contain);
        }
    }
    // The list and the placeholder are one section: when one takes the place
    // of the other, the focus goes with it.
    Connections {
        target: todoList.dayModel
        function onCountChanged() {
            if (todoList.focusState.focusedSection === PanelFocusState.List)
                todoList.applyFocusedSection();
        }
    }
    // An edit in place that is still open when the panel closes is kept, as
    // focus leaving it would keep it.
    function commitEdit() {
        const row = listView.itemAtIndex(dayModel.rowOf(focusState.editingItemID)) as TodoRowView;
        if (row)
            row.commitEdit();
    }
    // Stacked top to bottom by anchors (a Column would not place the list or
    // the placeholder while its height is 0, and would place it only at the
    // next frame once it grows).
    Item {
        id: column
        width: parent.width
        height: todoList.implicitHeight

        // The day header.
        FocusScope {
            id: header
            objectName: "dayHeader"
            width: parent.width
            height: PanelMetrics.dayHeaderHeight
            activeFocusOnTab: false
            Keys.onPressed: event => event.accepted = todoList.keyboard.headerKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)
            Accessible.role: Accessible.Heading
            Accessible.name: todoList.dayModel.fullDayName
            Accessible.description: qsTr("Left and Right arrows step between days")
            Accessible.focusable: true

            Rectangle {
                x: 6
                width: parent.width - 12
                height: parent.height
                radius: 6
                color: todoList.focusState.dateFocusedViaTab ? PanelColors.white(0.06) : "transparent"
            }
            MouseArea {
                anchors.fill: parent
                onClicked: todoList.focusState.focusSection(PanelFocusState.Date)
            }

            Item {
                objectName: "previousDayButton"
                x: 10
                y: 10
                width: 28
                height: 28
                Accessible.role: Accessible.Button
                Accessible.name: qsTr("Previous day")
                function accessiblePressAction() {
                    todoList.store.goToPreviousDay();
                }
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
                    onClicked: todoList.store.goToPreviousDay()
                }
            }

            // The label cross-fades from the old day to the new one.
            Item {
                id: dayLabelFade
                anchors.horizontalCenter: parent.horizontalCenter
                y: 10
                height: 28
                width: parent.width - 2 * 38
                property string shown: todoList.store ? todoList.store.selectedDateLabel : ""
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
                    target: dayLabelFade
                    property: "progress"
                    from: 0
                    to: 1
                    duration: SpringEasing.duration(0.25, 1)
                    easing: SpringEasing.curve(0.25, 1)
                    onStopped: dayLabelFade.previous = dayLabelFade.shown
                }
                Text {
                    anchors.centerIn: parent
                    text: dayLabelFade.previous
                    visible: dayLabelFade.progress < 1
                    opacity: 1 - dayLabelFade.progress
                    scale: 1 - 0.1 * dayLabelFade.progress
                    textFormat: Text.PlainText
                    font.pixelSize: 13
                    font.weight: Font.DemiBold
                    color: "white"
                }
                Text {
                    objectName: "dayLabel"
                    anchors.centerIn: parent
                    text: dayLabelFade.shown
                    opacity: dayLabelFade.progress
                    scale: 0.9 + 0.1 * dayLabelFade.progress
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
                Accessible.role: Accessible.Button
                Accessible.name: qsTr("Next day")
                function accessiblePressAction() {
                    todoList.store.goToNextDay();
                }
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
                    onClicked: todoList.store.goToNextDay()
                }
            }
        }

        Separator {
            id: topSeparator
            anchors.top: header.bottom
            width: parent.width
        }

        // The day's to-dos, built lazily, at most PanelMetrics.listMaximumHeight
        // high; no height on a day without to-dos.
        ListView {
            id: listView
            objectName: "listView"
            readonly property bool shown: todoList.dayModel.count > 0
            anchors.top: topSeparator.bottom
            x: 8
            width: parent.width - 16
            readonly property real naturalHeight: shown ? Math.min(contentHeight + topMargin + bottomMargin, PanelMetrics.listMaximumHeight) : 0
            // Rows coming and going change the height smoothly; the room
            // left by the rest of the view cuts it at once.
            property real shownHeight: naturalHeight
            height: Math.max(0, Math.min(shownHeight, todoList.roomForListAndField - addView.height))
            // (Not while the panel opens: the list starts at its full height.)
            property bool animatesHeight: false
            Timer {
                interval: 100
                running: true
                onTriggered: listView.animatesHeight = true
            }
            Behavior on shownHeight {
                enabled: listView.shown && listView.animatesHeight
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
            Keys.onPressed: event => event.accepted = todoList.keyboard.listKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)
            model: todoList.dayModel
            // It tells a screen reader nothing the list does not.
            ScrollIndicator.vertical: ScrollIndicator {
                Accessible.ignored: true
            }
            Accessible.role: Accessible.List
            Accessible.name: todoList.dayModel.count === 1 ? qsTr("1 to-do") : qsTr("%1 to-dos").arg(todoList.dayModel.count)
            Accessible.focusable: true
            Accessible.ignored: !shown

            delegate: TodoRowView {
                width: ListView.view.width
                dayModel: todoList.dayModel
                focusState: todoList.focusState
                showMoveToToday: !todoList.dayModel.isToday
                isSelected: todoList.focusState.focusedSection === PanelFocusState.List && todoList.focusState.selectedItemID === itemId
                onTap: todoList.focusState.focusSection(PanelFocusState.List)
                onTabPressed: todoList.keyboard.cycleFocus()
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
            readonly property bool shown: todoList.dayModel.count === 0
            anchors.top: listView.bottom
            width: parent.width
            height: shown ? 100 : 0
            clip: true
            activeFocusOnTab: false
            Keys.onPressed: event => event.accepted = todoList.keyboard.placeholderKeyPressed(event.key, event.modifiers, event.text, event.isAutoRepeat)
            // The focus comes here on a day without to-dos.
            Accessible.role: Accessible.Grouping
            Accessible.name: placeholderTitle.text
            Accessible.description: placeholderSubtitle.text
            Accessible.focusable: true
            Accessible.ignored: !shown

            MouseArea {
                anchors.fill: parent
                onClicked: todoList.focusState.focusSection(PanelFocusState.List)
            }
            Column {
                anchors.centerIn: parent
                visible: placeholder.shown
                spacing: 8
                MaterialIcon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: todoList.dayModel.isToday ? "check_circle_outline" : "calendar_today"
                    size: 28
                    color: PanelColors.white(0.2)
                }
                Text {
                    id: placeholderTitle
                    objectName: "placeholderTitle"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: todoList.dayModel.isToday ? qsTr("All clear!") : qsTr("Nothing here")
                    font.pixelSize: 13
                    font.weight: Font.Medium
                    color: PanelColors.white(0.5)
                }
                Text {
                    id: placeholderSubtitle
                    objectName: "placeholderSubtitle"
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: todoList.dayModel.isToday ? qsTr("Add a to-do below") : qsTr("No tasks for this day")
                    font.pixelSize: 11
                    color: PanelColors.white(0.3)
                }
            }
        }

        StorageNoticeView {
            id: noticeView
            anchors.top: placeholder.bottom
            width: parent.width
            height: implicitHeight
            store: todoList.store
        }

        Separator {
            id: bottomSeparator
            anchors.top: noticeView.bottom
            width: parent.width
        }

        AddTodoView {
            id: addView
            anchors.top: bottomSeparator.bottom
            width: parent.width
            store: todoList.store
            focusState: todoList.focusState
            maximumHeight: todoList.roomForListAndField - Math.min(listView.naturalHeight, todoList.minimumListHeight)
            onTabPressed: todoList.keyboard.cycleFocus()
        }

        // Says what a screen reader would not learn from the focus: a to-do
        // added, deleted or brought back, and a notice about the stored list.
        // A notification is read as it appears.
        Item {
            id: announcer
            objectName: "announcer"
            visible: false
            Accessible.role: Accessible.Notification
            function say(text: string) {
                // Not from a list made ahead of time, which would say it as
                // it is shown.
                if (!todoList.visible)
                    return;
                visible = false;
                Accessible.name = text;
                visible = true;
            }
        }
    }

    // Titles run long; a message says enough of one to tell which it is.
    function shortened(title: string): string {
        return title.length > 200 ? title.substring(0, 200) + "…" : title;
    }
    Connections {
        target: todoList.store
        function onTodoAdded(title: string) {
            announcer.say(qsTr("Added: %1").arg(todoList.shortened(title)));
        }
        function onTodoDeleted(title: string) {
            announcer.say(qsTr("Deleted: %1").arg(todoList.shortened(title)));
        }
        function onDeletionUndone(title: string) {
            announcer.say(qsTr("Restored: %1").arg(todoList.shortened(title)));
        }
        function onStorageNoticeChanged() {
            if (todoList.store.storageNotice !== "")
                announcer.say(todoList.store.storageNotice);
        }
    }
    // A notice already there is said as the panel shows it.
    onVisibleChanged: {
        if (visible && store && store.storageNotice !== "")
            announcer.say(store.storageNotice);
    }
}
