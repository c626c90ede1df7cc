// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/command_protocol.h"
#include "instance/single_instance.h"

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Sends the bytes as a client and returns the line the server answers (empty
// when it closes without one), leaving the event loop to the server.
QByteArray exchange(const QString &socketPath, const QByteArray &bytes, bool hangUp = false)
{
    QLocalSocket client;
    client.connectToServer(socketPath);
    if (!client.waitForConnected(5000))
        return "not connected";
    client.write(bytes);
    client.flush();
    if (hangUp)
        return {};
    // Whatever came within the time, or nothing.
    (void)QTest::qWaitFor([&] { return client.canReadLine() || client.state() == QLocalSocket::UnconnectedState; },
                          10000);
    return client.readLine();
}

} // namespace

class SingleInstanceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersRequestsAndOutlastsClientsThatSendAnythingElse()
    {
        QTemporaryDir dir;
        const QString socket = dir.filePath(u"marlowick.socket"_s);
        SingleInstance instance(socket);
        QList<CommandRequest> handled;
        QList<qsizetype> batchSizes;
        instance.setHandler([&](const QList<CommandRequest> &requests) {
            handled.append(requests);
            batchSizes.append(requests.size());
            QList<CommandReply> replies;
            for (qsizetype i = 0; i < requests.size(); ++i)
                replies.append(CommandReply::success(QString::number(handled.size() - requests.size() + i) + u'\n'));
            return replies;
        });
        QVERIFY(instance.listen());

        const auto statusOf = [](const QByteArray &line) {
            return CommandProtocol::decodeReply(line).value_or(CommandReply{-1, {}, {}}).status;
        };
        QCOMPARE(statusOf(exchange(socket, "hello\n")), CommandReply::UsageError);
        QVERIFY(exchange(socket, "{\"marlowick\":99,\"command\":\"count\"}\n").contains("version 1"));
        // A line longer than a request can be is refused without waiting for its end.
        QCOMPARE(statusOf(exchange(socket, QByteArray(CommandProtocol::maxRequestLength + 10, 'x'))),
                 CommandReply::UsageError);
        exchange(socket, "{\"marlowick\":1,\"comm", true);
        QVERIFY(handled.isEmpty());

        CommandRequest count;
        count.command = CommandRequest::Command::Count;
        count.day = u"-1"_s;
        const auto reply = CommandProtocol::decodeReply(exchange(socket, CommandProtocol::encodeRequest(count)));
        QVERIFY(reply);
        QCOMPARE(reply->output, u"0\n"_s);
        QCOMPARE(handled.size(), 1);
        QCOMPARE(handled.first().day, u"-1"_s);

        // Changes sent while the program was busy are carried out in one
        // batch; one sent again (the same id) is answered again, not
        // carried out twice.
        CommandRequest add;
        add.command = CommandRequest::Command::Add;
        add.title = u"Buy milk"_s;
        QList<QLocalSocket *> clients;
        for (int i = 0; i < 5; ++i) {
            add.id = u"add-%1"_s.arg(i);
            clients.append(new QLocalSocket(this));
            clients.last()->connectToServer(socket);
            QVERIFY(clients.last()->waitForConnected(5000));
            clients.last()->write(CommandProtocol::encodeRequest(add));
            QVERIFY(clients.last()->waitForBytesWritten(5000));
        }
        QTRY_COMPARE_WITH_TIMEOUT(handled.size(), 6, 10000);
        QCOMPARE(batchSizes.last(), 5);
        add.id = u"add-3"_s;
        QCOMPARE(CommandProtocol::decodeReply(exchange(socket, CommandProtocol::encodeRequest(add)))->output, u"4\n"_s);
        QCOMPARE(handled.size(), 6);
        qDeleteAll(clients);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
