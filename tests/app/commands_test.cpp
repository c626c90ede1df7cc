// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// The marlowick command as a shell, a key binding or a status bar runs it:
// with no program running, with the real program, with a socket of nonsense.
#include "support/x11/marlowick_process.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTest>
#include <QTimer>

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
        // The folder the first command made is the user's alone.
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::WriteOther | QFile::ExeOther;
        QVERIFY(!(QFileInfo(QFileInfo(home.settingsFile()).absolutePath()).permissions() & others));
        QCOMPARE(home.run({u"list"_s}).out, u"[ ] Buy milk\n"_s);
        QCOMPARE(home.run({u"list"_s, u"--day=+1"_s}).out, u"[ ] Pay\\nrent\n"_s);
        QCOMPARE(home.run({u"count"_s, u"--open"_s}).out, u"1\n"_s);
        const auto full = home.start({u"count"_s}, u"/dev/full"_s);
        QVERIFY(full->waitForFinished(timeout));
        QCOMPARE(full->exitCode(), 1);
        QVERIFY(full->readAllStandardError().contains("cannot write the output"));
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

        // A file where the settings folder should be: a failed save says so in one line.
        MarlowickProcess blocked;
        QFile blocker(QFileInfo(blocked.settingsFile()).absolutePath());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        const Output unsaved = blocked.run({u"add"_s, u"Buy milk"_s});
        QCOMPARE(unsaved.exitCode, 1);
        QVERIFY2(unsaved.err.startsWith(u"marlowick: Not saved: "_s) && unsaved.err.count(u'\n') == 1,
                 qPrintable(unsaved.err));
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

    void aProgramThatAnswersNonsenseSlowlyOrNothingIsToldApart()
    {
        // This test holds the list as a program would, listening where its
        // lock says.
        MarlowickProcess home;
        QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
        QLockFile lock(home.settingsFile() + u".writer.lock"_s);
        QVERIFY(lock.tryLock());
        const QString name = u"marlowick-test-%1"_s.arg(QCoreApplication::applicationPid());
        QFile lockFile(lock.fileName());
        QVERIFY(lockFile.open(QIODevice::Append) && lockFile.write('@' + name.toUtf8() + '\n') > 0);
        lockFile.close();
        QLocalServer server;
        server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
        QVERIFY(server.listen(name));
        enum { Garbage, Slowly, Hangs } answer = Garbage;
        connect(&server, &QLocalServer::newConnection, this, [&] {
            QLocalSocket *client = server.nextPendingConnection();
            connect(client, &QLocalSocket::readyRead, client, [&answer, client] {
                if (!client->canReadLine())
                    return;
                if (answer == Garbage)
                    client->write("garbage\n");
                if (answer == Hangs)
                    client->abort();
                if (answer != Slowly)
                    return;
                // A long answer that keeps coming, with pauses, for longer than a pause lasts.
                client->write("{\"status\":0,\"error\":\"\",\"output\":\"");
                for (int part = 1; part <= 5; ++part) {
                    QTimer::singleShot(part * 700, client, [client, part] {
                        client->write(part < 5 ? QByteArray(1000, 'x') : QByteArray("\"}\n"));
                    });
                }
            });
        });
        const Output garbage = home.run({u"count"_s});
        QCOMPARE(garbage.exitCode, 1);
        QVERIFY2(garbage.err.contains(u"does not understand"_s), qPrintable(garbage.err));
        answer = Slowly;
        const Output slow = home.run({u"list"_s});
        QCOMPARE(slow.exitCode, 0);
        QCOMPARE(slow.out.size(), 4000);
        // Closed without an answer again and again: the add may have been made.
        answer = Hangs;
        const Output unanswered = home.run({u"add"_s, u"Buy milk"_s});
        QCOMPARE(unanswered.exitCode, 3);
        QVERIFY2(unanswered.err.contains(u"not confirmed"_s), qPrintable(unanswered.err));
    }

    void commandsWaitForTheOneThatHoldsTheList()
    {
        MarlowickProcess home;
        QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
        // Held as a command holds it, for longer than a program takes to start.
        QLockFile lock(home.settingsFile() + u".writer.lock"_s);
        QVERIFY(lock.tryLock());
        std::vector<std::unique_ptr<QProcess>> adds;
        for (int i = 0; i < 20; ++i)
            adds.push_back(home.start({u"add"_s, u"To-do %1"_s.arg(i)}));
        QTest::qWait(4000); // a time limit is what is tried here
        lock.unlock();
        for (auto &add : adds) {
            QVERIFY(add->waitForFinished(timeout));
            QVERIFY2(add->exitCode() == 0, add->readAllStandardError().constData());
        }
        QCOMPARE(home.storedItems().size(), 20);
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

        // It holds none of the caller's pipes: $(marlowick show) returns.
        for (const int stream : {1, 2})
            QVERIFY(!QFile::symLinkTarget(u"/proc/%1/fd/%2"_s.arg(pid).arg(stream)).contains(u"pipe"_s));

        // Without XDG_RUNTIME_DIR (cron, ssh), a command reaches it all the same.
        home.environment.insert(u"XDG_RUNTIME_DIR"_s, QString());
        const Output add = home.run({u"add"_s, u"Water the ferns"_s});
        QVERIFY2(add.exitCode == 0 && add.err.isEmpty(), qPrintable(add.err));
        // A command for another list leaves this one's program alone.
        MarlowickProcess elsewhere;
        QCOMPARE(elsewhere.run({u"add"_s, u"Call the plumber"_s}).exitCode, 0);
        QCOMPARE(elsewhere.storedTitles(), QStringList{u"Call the plumber"_s});
        // Stopped for longer than a command once waited, it is waited for,
        // and the change is made once.
        ::kill(pid, SIGSTOP);
        const auto stoppedAdd = home.start({u"add"_s, u"Buy stamps"_s});
        QTest::qWait(3000); // a time limit is what is tried here
        ::kill(pid, SIGCONT);
        QVERIFY(stoppedAdd->waitForFinished(timeout));
        QCOMPARE(stoppedAdd->exitCode(), 0);
        QCOMPARE(home.run({u"toggle"_s}).exitCode, 0);
        QCOMPARE(home.run({u"list"_s}).out, u"[ ] Buy stamps\n[ ] Water the ferns\n"_s);
        const Output quit = home.run({u"quit"_s});
        QCOMPARE(quit.exitCode, 0);
        QCOMPARE(quit.err, QString());
        QTRY_VERIFY_WITH_TIMEOUT(!isRunning(pid), timeout);
        QCOMPARE(home.run({u"count"_s}).out, u"2\n"_s);
    }
};

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
