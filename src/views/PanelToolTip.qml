import QtQuick
import QtQuick.Controls
import Marlowick

// A tooltip in the panel's dark look. It shows beside its target, to the
// left, and stays within `bounds` (the part of the panel it may cover),
// whatever the target's place in it.
ToolTip {
    id: tip

    property Item target
    property Item bounds

    parent: target
    delay: Qt.styleHints.mousePressAndHoldInterval
    padding: 0
    leftPadding: 7
    rightPadding: 7
    topPadding: 4
    bottomPadding: 4
    // Placed anew each time it shows.
    onAboutToShow: {
        let left = -implicitWidth - 4;
        let top = (target.height - implicitHeight) / 2;
        if (bounds) {
            const area = bounds.mapToItem(target, 0, 0, bounds.width, bounds.height);
            left = Math.max(area.x, Math.min(left, area.x + area.width - implicitWidth));
            top = Math.max(area.y, Math.min(top, area.y + area.height - implicitHeight));
        }
        x = left;
        y = top;
    }

    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font.pixelSize: 11
        color: PanelColors.primaryLabel
    }
    background: Rectangle {
        radius: 5
        color: PanelColors.toolTip
        border.width: 1
        border.color: PanelColors.white(0.12)
    }
}
