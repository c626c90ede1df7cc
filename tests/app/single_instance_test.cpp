#include "app/single_instance.h"

#include "support/test_main.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondStartActivatesTheFirst()
    {
        QTemporaryDir dir;
        const QString socket = dir.filePath(u"marlowick.socket"_s);
        SingleInstance first(socket);
        QCOMPARE(first.claim(), SingleInstance::Outcome::First);
        QSignalSpy activated(&first, &SingleInstance::activationRequested);

        // The second start runs in this process too: the first answers from
        // the event loop while the second waits, so ask from a nested loop.
        SingleInstance second(socket);
        SingleInstance::Outcome outcome = SingleInstance::Outcome::Failed;
        QMetaObject::invokeMethod(this, [&] { outcome = second.claim(); }, Qt::QueuedConnection);
        QTRY_COMPARE_WITH_TIMEOUT(outcome, SingleInstance::Outcome::AlreadyRunning, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(activated.count(), 1, 10000);
    }

    void takesOverASocketLeftByACrash()
    {
        QTemporaryDir dir;
        const QString socket = dir.filePath(u"marlowick.socket"_s);
        QFile stale(socket);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleInstance instance(socket);
        QCOMPARE(instance.claim(), SingleInstance::Outcome::First);
    }
};

MARLOWICK_TEST(SingleInstanceTest)
#include "single_instance_test.moc"
