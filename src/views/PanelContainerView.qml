// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

pragma ComponentBehavior: Bound
import QtQuick
import Marlowick

// The root of the dropdown panel: the black, notch-shaped body that springs
// open from the notch width to the body width and shows a fresh to-do list
// while open. Driven only through animationState: reads isOpen, writes
// mouseInPanel (from the body's area alone).
//
// Host it at the top of the panel window, centred horizontally; it is as wide
// as the host makes it (bodyWidth by default) and keeps the body centred.
Item {
    id: container

    property TodoStore store
    property NotchAnimationState animationState
    property real notchWidth: PanelMetrics.stripWidth
    property real bodyWidth: PanelMetrics.bodyWidth
    property real closedHeight: 0
    // The body ends within the window that hosts it, its outline whole.
    property real maximumHeight: parent ? parent.height : Infinity
    // The spring of every change of isOpen.
    property real springResponse: PanelMetrics.springResponse
    property real springDampingFraction: PanelMetrics.springDampingFraction

    readonly property bool isOpen: animationState !== null && animationState.isOpen
    // The list shown while open (null while closed).
    readonly property alias todoList: content.currentList
    readonly property alias body: body
    // The body's outline, which the panel window shapes itself to.
    readonly property alias outline: outline

    implicitWidth: bodyWidth
    implicitHeight: body.height

    // 0 closed, 1 open; everything about the body follows it, so a reversal
    // mid-way continues from what is on screen.
    SpringValue {
        id: openness
        response: container.springResponse
        dampingFraction: container.springDampingFraction
        target: container.isOpen ? 1 : 0
    }
    readonly property real progress: openness.value

    Item {
        id: body
        objectName: "panelBody"
        readonly property real bottomRadius: 8 + (18 - 8) * container.progress
        // The height of the open content; kept while the list fades out.
        property real openHeight: 0

        anchors.horizontalCenter: parent.horizontalCenter
        width: container.notchWidth + (container.bodyWidth - container.notchWidth) * container.progress
        // Whole pixels: a body less than a pixel high would have nothing to
        // paint into. The spring's overshoot stops at the window's edge.
        height: Math.max(0, Math.min(container.maximumHeight, Math.round(container.closedHeight + (openHeight - container.closedHeight) * container.progress)))

        // A body that grows under a resting pointer has been entered; one
        // that shrinks away from it (a row added or deleted while typing)
        // has not been left: only moving the pointer leaves it. Otherwise
        // the panel would close under the hand of someone still typing.
        HoverHandler {
            id: bodyHover
            onHoveredChanged: {
                if (hovered && container.animationState)
                    container.animationState.mouseInPanel = true;
            }
        }

        NotchShapeItem {
            id: outline
            anchors.fill: parent
            visible: body.height > 0
            topCornerRadius: 0
            bottomCornerRadius: body.bottomRadius
            fillColor: PanelColors.body
        }

        // The content, clipped to the body. The outline's rounded corners
        // cut only into the black margins around the list, so the body's
        // rectangle clips it as the outline would, without drawing it
        // through a texture.
        Item {
            id: content
            anchors.fill: parent
            clip: true
            property TodoListView currentList: null
        }

        NotchShapeItem {
            objectName: "panelBorder"
            anchors.fill: parent
            visible: body.height > 0
            topCornerRadius: 0
            bottomCornerRadius: body.bottomRadius
            strokeWidth: 0.5
            strokeTopColor: "transparent"
            strokeBottomColor: PanelColors.white(0.08)
            opacity: Math.max(0, Math.min(1, container.progress))
        }
    }

    // Real movements of the pointer decide whether it is over the body,
    // entering or leaving; see bodyHover for a body that grows under it.
    WindowPointerWatcher {
        onMoved: (scenePosition) => {
            if (!container.animationState)
                return;
            const local = body.mapFromItem(null, scenePosition.x, scenePosition.y);
            container.animationState.mouseInPanel = body.height > 0 && body.contains(local);
        }
        onExited: {
            if (container.animationState)
                container.animationState.mouseInPanel = false;
        }
    }

    // A list laid out at the full panel width, hanging from the top centre of
    // the body. It grows in from 92 % with a fade on its own spring and fades
    // out in 0.15 s when the panel closes.
    Component {
        id: listHolder
        Item {
            id: holder
            property alias todoList: todoList
            width: container.bodyWidth
            x: (content.width - width) / 2
            height: implicitHeight
            implicitHeight: PanelMetrics.contentTopPadding + todoList.implicitHeight + PanelMetrics.contentBottomPadding

            SpringValue {
                id: appear
                response: PanelMetrics.springResponse
                dampingFraction: PanelMetrics.springDampingFraction
                target: 0
            }
            // Made ahead of time and hidden; shown while its list is the one
            // the panel shows, then fades out and goes.
            readonly property bool isShown: content.currentList === todoList
            visible: false
            onIsShownChanged: {
                if (isShown) {
                    visible = true;
                    appear.target = 1;
                } else {
                    opacity = opacity; // stop following the spring
                    fadeOut.start();
                }
            }
            opacity: Math.max(0, Math.min(1, appear.value))
            transform: Scale {
                origin.x: holder.width / 2
                origin.y: 0
                xScale: 0.92 + 0.08 * appear.value
                yScale: 0.92 + 0.08 * appear.value
            }

            NumberAnimation {
                id: fadeOut
                target: holder
                property: "opacity"
                to: 0
                duration: 150
                easing.type: Easing.OutQuad
                onFinished: holder.destroy()
            }

            TodoListView {
                id: todoList
                y: PanelMetrics.contentTopPadding
                width: parent.width
                // Less the padding above and below.
                maximumHeight: container.maximumHeight - PanelMetrics.contentTopPadding - PanelMetrics.contentBottomPadding
                store: container.store
                onCloseRequested: {
                    if (container.animationState)
                        container.animationState.requestClose();
                }
            }
        }
    }

    // Each opening shows a new list, with no selection, edit or focus left
    // from before. It is made ahead, in the time between frames while the
    // panel is closed, so that opening only has to animate; if it is not
    // ready yet, the body starts to move at once and the list fades in as
    // soon as it is.
    SpareItemMaker {
        id: nextList
        component: listHolder
        parentItem: content
        onItemReady: holder => container.revealList(holder)
    }
    function revealList(holder) {
        content.currentList = holder.todoList;
        body.openHeight = Qt.binding(() => holder.implicitHeight);
        holder.todoList.forceActiveFocus();
        if (addFieldRequested)
            holder.todoList.focusAddField();
        addFieldRequested = false;
    }
    // Asked for while the list was still being made.
    property bool addFieldRequested: false
    Connections {
        target: container.animationState
        function onAddFieldRequested() {
            if (content.currentList)
                content.currentList.focusAddField();
            else
                container.addFieldRequested = container.isOpen;
        }
    }
    function hideList() {
        nextList.cancelRequest();
        addFieldRequested = false;
        if (!content.currentList)
            return;
        content.currentList.commitEdit();
        body.openHeight = content.currentList.parent.implicitHeight;
        content.currentList = null;
    }

    // The day that is today, and with it the labels, follows the clock while
    // open; the list made ahead of time catches up before it is shown.
    TodayWatcher {
        id: todayWatcher
        store: container.store
    }

    onIsOpenChanged: {
        todayWatcher.active = isOpen;
        if (isOpen) {
            nextList.request();
        } else {
            hideList();
            nextList.prepare();
        }
    }
    Component.onCompleted: {
        todayWatcher.active = isOpen;
        if (isOpen)
            nextList.request();
        else // at start-up, where a little more time goes unnoticed
            nextList.prepareNow();
    }
}
