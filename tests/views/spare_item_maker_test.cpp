// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spare_item_maker.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlIncubationController>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

class SpareItemMakerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void makesOneSpareBetweenFramesAndHandsItOver()
    {
        // The frames' spare time, given by hand.
        QQmlEngine engine;
        QQmlIncubationController incubation;
        engine.setIncubationController(&incubation);
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nItem {}", QUrl());
        QQuickItem parent;
        SpareItemMaker maker;
        maker.setComponent(&component);
        maker.setParentItem(&parent);
        QSignalSpy ready(&maker, &SpareItemMaker::itemReady);
        const auto handed = [&](qsizetype i) { return ready.at(i).at(0).value<QQuickItem *>(); };

        maker.prepare();
        maker.prepare();
        maker.request();
        QCOMPARE(ready.size(), 0);
        incubation.incubateFor(1000);
        QCOMPARE(ready.size(), 1);
        QCOMPARE(handed(0)->parentItem(), &parent);
        // Its receiver may destroy() it.
        QCOMPARE(QQmlEngine::objectOwnership(handed(0)), QQmlEngine::JavaScriptOwnership);

        // Made for a request withdrawn, it waits as the spare.
        maker.request();
        maker.cancelRequest();
        incubation.incubateFor(1000);
        QCOMPARE(ready.size(), 1);
        maker.request();
        QCOMPARE(ready.size(), 2);

        // At once when asked to, finishing the one under way.
        maker.prepare();
        maker.prepareNow();
        maker.request();
        QCOMPARE(ready.size(), 3);
        QCOMPARE(parent.childItems().size(), 3);
    }
};

QTEST_MAIN(SpareItemMakerTest)
#include "spare_item_maker_test.moc"
