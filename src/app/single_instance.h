#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <chrono>

// How a later start reaches the running Marlowick: the running one listens
// on a local socket in the user's runtime folder, and a later start asks it
// there to open its panel. Which of them runs is the WriterLock's to decide.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // The socket of the user's instance (in $XDG_RUNTIME_DIR).
    static QString defaultSocketPath();

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);

    // Asks the running instance to open its panel, trying for up to
    // `patience` (it may be starting still). False when nobody answered.
    bool activateRunningInstance(std::chrono::milliseconds patience);
    // Listens for later starts, in place of whatever socket is there: ask
    // first whether one answers.
    bool listen();

    QString errorString() const { return m_error; }

Q_SIGNALS:
    // Another start asked this instance to show itself.
    void activationRequested();

private:
    bool sendToRunningInstance(const QByteArray &message);

    QString m_socketPath;
    QLocalServer m_server;
    QString m_error;
};
