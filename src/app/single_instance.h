#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One Marlowick per user: the first start listens on a local socket in the
// user's runtime folder; a later start finds it, asks it to open its panel
// and leaves. So two processes never save the list in turn.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The socket of the user's instance (in $XDG_RUNTIME_DIR).
    static QString defaultSocketPath();

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);

    enum class Outcome {
        First,        // this process is the instance and now listens
        AlreadyRunning, // another one runs; it was asked to open its panel
        Failed,       // neither: the socket could not be made
    };
    Outcome claim();

    QString errorString() const { return m_error; }

Q_SIGNALS:
    // Another start asked this instance to show itself.
    void activationRequested();

private:
    bool askRunningInstance();

    QString m_socketPath;
    QLocalServer m_server;
    QString m_error;
};
