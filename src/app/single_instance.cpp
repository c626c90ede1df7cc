#include "single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {

const QByteArray activateMessage = QByteArrayLiteral("activate\n");
constexpr int connectTimeoutMs = 1000;

} // namespace

QString SingleInstance::defaultSocketPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/marlowick.socket");
}

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(socketPath)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->canReadLine() && socket->readLine() == activateMessage)
                    Q_EMIT activationRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::sendToRunningInstance(const QByteArray &message)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(message);
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::activateRunningInstance(std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    while (!sendToRunningInstance(activateMessage)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}

bool SingleInstance::listen()
{
    QDir().mkpath(QFileInfo(m_socketPath).absolutePath());
    // A socket nobody answers on is left over from a process that crashed.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server.listen(m_socketPath)) {
        m_error = m_server.errorString();
        return false;
    }
    return true;
}
