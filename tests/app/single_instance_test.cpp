// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/single_instance.h"
#include "cli/command_protocol.h"

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
        instance.setHandler([&](const CommandRequest &request) {
            handled.append(request);
            return CommandReply::success(u"3\n"_s);
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
        QCOMPARE(reply->output, u"3\n"_s);
        QCOMPARE(handled.size(), 1);
        QCOMPARE(handled.first().day, u"-1"_s);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
