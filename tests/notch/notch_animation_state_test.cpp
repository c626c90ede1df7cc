#include "notch/notch_animation_state.h"

#include "support/test_main.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class NotchAnimationStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void notifiesOnlyRealChangesOfEachFlag()
    {
        NotchAnimationState state;
        QSignalSpy open(&state, &NotchAnimationState::isOpenChanged);
        QSignalSpy hover(&state, &NotchAnimationState::mouseInPanelChanged);
        state.setMouseInPanel(true);
        state.setMouseInPanel(true);
        QCOMPARE(hover.count(), 1);
        state.setOpen(true);
        state.setOpen(false);
        QCOMPARE(open.count(), 2);
        QCOMPARE(hover.count(), 1); // the hover flag heard nothing of isOpen
        state.setMouseInPanel(false);
        QCOMPARE(hover.count(), 2);
        QVERIFY(!state.mouseInPanel());
    }

    void isReachableFromQml()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQml\nimport Marlowick\nQtObject { property NotchAnimationState state: null }", QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        NotchAnimationState state;
        QVERIFY(object->setProperty("state", QVariant::fromValue(&state)));
    }
};

MARLOWICK_TEST(NotchAnimationStateTest)
#include "notch_animation_state_test.moc"
