#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

// Where the store keeps its values: a few keys of the user's settings.
class TodoStorage
{
public:
    virtual ~TodoStorage() = default;

    // The value under the key; an invalid QVariant when there is none.
    virtual QVariant value(const QString &key) const = 0;
    virtual bool contains(const QString &key) const = 0;

    // Writes every value and makes them durable, all or nothing: on failure
    // the stored values stay as they were. Returns whether it succeeded.
    virtual bool write(const QList<std::pair<QString, QVariant>> &values) = 0;
};

// The user's settings file as QSettings knows it (organization and
// application "marlowick", native format: ~/.config/marlowick/marlowick.conf
// on Linux). Byte arrays are read and written straight in QSettings' own file
// form, under QSettings' lock file and atomically; whatever that fast path
// does not cover goes through QSettings itself.
class SettingsTodoStorage : public TodoStorage
{
public:
    SettingsTodoStorage();
    // A settings file at the given path, for tests and tools.
    explicit SettingsTodoStorage(const QString &fileName);

    // Where QSettings keeps the settings of organization and application
    // "marlowick" in the native format.
    static QString defaultFileName();
    const QString &fileName() const { return m_fileName; }

    QVariant value(const QString &key) const override;
    bool contains(const QString &key) const override;
    bool write(const QList<std::pair<QString, QVariant>> &values) override;

private:
    bool writeThroughQSettings(const QList<std::pair<QString, QVariant>> &values);

    QString m_fileName;
};
