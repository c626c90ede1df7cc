#include "single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

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

bool SingleInstance::askRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs))
        return false;
    socket.write(activateMessage);
    socket.waitForBytesWritten(connectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

SingleInstance::Outcome SingleInstance::claim()
{
    QDir().mkpath(QFileInfo(m_socketPath).absolutePath());
    // Two starts at the same moment must not both take over a stale socket.
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    if (!lock.tryLock(5 * connectTimeoutMs)) {
        m_error = QStringLiteral("could not lock %1").arg(lock.fileName());
        return Outcome::Failed;
    }
    if (askRunningInstance())
        return Outcome::AlreadyRunning;
    // Nobody answers: a socket left over from a process that crashed.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server.listen(m_socketPath)) {
        m_error = m_server.errorString();
        return Outcome::Failed;
    }
    return Outcome::First;
}
