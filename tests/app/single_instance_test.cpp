#include "app/single_instance.h"
#include "app/writer_lock.h"

#include "support/test_main.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSecondStartActivatesTheFirst()
    {
        QTemporaryDir dir;
        const QString socket = dir.filePath(u"marlowick.socket"_s);
        SingleInstance second(socket);
        QVERIFY(!second.activateRunningInstance(0ms)); // nobody there yet
        SingleInstance first(socket);
        QVERIFY(first.listen());
        QSignalSpy activated(&first, &SingleInstance::activationRequested);

        // The second start runs in this process too: the first answers from
        // the event loop while the second waits, so ask from a nested loop.
        bool reached = false;
        QMetaObject::invokeMethod(this, [&] { reached = second.activateRunningInstance(5s); }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(reached, 10000);
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
        QVERIFY(instance.listen());
    }

    void oneProgramAtATimeHoldsTheSettings()
    {
        QTemporaryDir dir;
        const QString settings = dir.filePath(u"marlowick/marlowick.conf"_s);
        WriterLock first(settings);
        QCOMPARE(first.tryLock(), WriterLock::Outcome::Locked);
        QCOMPARE(first.fileName(), dir.filePath(u"marlowick/marlowick.conf.writer.lock"_s));
        WriterLock second(settings);
        QCOMPARE(second.tryLock(), WriterLock::Outcome::HeldElsewhere);
        QVERIFY2(second.holder().contains(QString::number(QCoreApplication::applicationPid())),
                 qPrintable(second.holder()));
        first.unlock();
        QCOMPARE(second.tryLock(), WriterLock::Outcome::Locked);
    }
};

MARLOWICK_TEST(SingleInstanceTest)
#include "single_instance_test.moc"
