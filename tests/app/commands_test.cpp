// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The marlowick command as a shell, a key binding or a status bar runs it:
// with no program running, with the real program, with a socket of nonsense.
#include "marlowick_process.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 20000;
using Output = MarlowickProcess::Output;

// Whether the process runs; one that has ended but not been reaped (a
// detached one's parent may never reap it) does not.
bool isRunning(pid_t pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutTheProgramTheStoredListIsUsedWithoutADisplay()
    {
        MarlowickProcess home;
        QCOMPARE(home.run({u"add"_s, u"  Buy"_s, u"milk  "_s}).exitCode, 0);
        QCOMPARE(home.run({u"add"_s, u"--day"_s, u"tomorrow"_s, u"Pay\nrent"_s}).exitCode, 0);
        QCOMPARE(home.run({u"list"_s}).out, u"[ ] Buy milk\n"_s);
        QCOMPARE(home.run({u"list"_s, u"--day=+1"_s}).out, u"[ ] Pay\\nrent\n"_s);
        QCOMPARE(home.run({u"count"_s, u"--open"_s}).out, u"1\n"_s);
        const Output quit = home.run({u"quit"_s});
        QCOMPARE(quit.exitCode, 0);
        QVERIFY2(quit.err.contains(u"not running"_s), qPrintable(quit.err));
        // Only starting the program needs the display, which it names.
        for (const QString &display : {QString(), u":4093"_s}) {
            home.environment.insert(u"DISPLAY"_s, display);
            const Output show = home.run({u"show"_s});
            QCOMPARE(show.exitCode, 1);
            QVERIFY2(show.err.contains(display.isEmpty() ? u"DISPLAY is not set"_s : u"\":4093\""_s),
                     qPrintable(show.err));
        }
    }

    void wrongArgumentsAndAnUnreadableListAreRefused()
    {
        MarlowickProcess home;
        const Output wrong = home.run({u"frob"_s});
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.endsWith(u"\nTry \"marlowick --help\".\n"_s), qPrintable(wrong.err));
        QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
        QFile file(home.settingsFile());
        const QByteArray before = "[General]\nmarlowick.items=\"@ByteArray([{\\\"title\\\": \\\"half a to-d)\"\n";
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        const Output count = home.run({u"count"_s});
        QCOMPARE(count.exitCode, 1);
        QVERIFY2(count.err.startsWith(u"marlowick: Not read: "_s) && count.err.count(u'\n') == 1,
                 qPrintable(count.err));
        const Output add = home.run({u"add"_s, u"Buy milk"_s});
        QCOMPARE(add.exitCode, 1);
        QVERIFY2(add.err.contains(u"nothing was added"_s), qPrintable(add.err));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    // A save that stops short (a full disk, a quota, here a file-size limit)
    // fails with its reason and leaves the stored list byte for byte, whether
    // the command saves or the program it asks.
    void aSaveThatDoesNotFitChangesNothing_data()
    {
        QTest::addColumn<int>("kilobytes");
        QTest::addColumn<bool>("byTheProgram");
        for (const int kilobytes : {1, 4, 8, 16, 64}) {
            QTest::addRow("%d KB by the command", kilobytes) << kilobytes << false;
            QTest::addRow("%d KB by the program", kilobytes) << kilobytes << true;
        }
    }

    void aSaveThatDoesNotFitChangesNothing()
    {
        QFETCH(int, kilobytes);
        QFETCH(bool, byTheProgram);
        MarlowickProcess home;
        home.environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        QList<TodoItem> items;
        for (int i = 0; i < kilobytes * 1024 / 175; ++i) // about 175 bytes each in the file
            items.append({QUuid::createUuid(), u"Call the plumber about the kitchen tap, number %1"_s.arg(i), false,
                          800000000.0 + i, 799977600});
        QVERIFY(home.store(items));
        QFile file(home.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        home.fileSizeLimit = before.size();
        if (byTheProgram) {
            QVERIFY(home.startAndWaitUntilReady());
            home.fileSizeLimit = 0;
        }
        const Output add = home.run({u"add"_s, u"One more"_s});
        QCOMPARE(add.exitCode, 1);
        QVERIFY2(add.err.contains(u"marlowick: Not saved: marlowick.conf cannot be written: File too large"_s),
                 qPrintable(add.err));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList({u"*.saving-*"_s}, QDir::Files), QStringList());
    }

    void aSocketThatAnswersNonsenseOrNothingFails()
    {
        MarlowickProcess home;
        QLocalServer server;
        QVERIFY(server.listen(home.runtimeFolder() + u"/marlowick.socket"_s));
        bool answers = true;
        connect(&server, &QLocalServer::newConnection, this, [&] {
            QLocalSocket *client = server.nextPendingConnection();
            if (answers)
                client->write("garbage\n");
        });
        const Output garbage = home.run({u"count"_s});
        QCOMPARE(garbage.exitCode, 1);
        QVERIFY2(garbage.err.contains(u"does not understand"_s), qPrintable(garbage.err));
        answers = false;
        const Output silence = home.run({u"add"_s, u"Buy milk"_s});
        QCOMPARE(silence.exitCode, 1);
        QVERIFY2(silence.err.contains(u"did not answer within 2 s"_s), qPrintable(silence.err));
    }

    void showStartsTheProgramWhichThenCarriesOutEveryCommand()
    {
        MarlowickProcess home;
        home.environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        QCOMPARE(home.run({u"show"_s, u"--add"_s}).exitCode, 0);
        // Started detached, it answers on the socket; it holds the writer lock.
        QFile lock(home.settingsFile() + u".writer.lock"_s);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        const pid_t pid = pid_t(lock.readLine().trimmed().toLongLong());
        const auto stop = qScopeGuard([pid] { ::kill(pid, SIGKILL); });
        QVERIFY(isRunning(pid));

        const Output add = home.run({u"add"_s, u"Water the ferns"_s});
        QVERIFY2(add.exitCode == 0, qPrintable(add.err));
        QCOMPARE(home.run({u"toggle"_s}).exitCode, 0);
        QCOMPARE(home.run({u"list"_s}).out, u"[ ] Water the ferns\n"_s);
        const Output quit = home.run({u"quit"_s});
        QCOMPARE(quit.exitCode, 0);
        QCOMPARE(quit.err, QString());
        QTRY_VERIFY_WITH_TIMEOUT(!isRunning(pid), timeout);
        QCOMPARE(home.run({u"count"_s}).out, u"1\n"_s);
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
