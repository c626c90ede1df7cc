#pragma once

#include "json_list_writer.h"
#include "todo_item.h"

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

    // Writes the list of to-dos as JSON under `listKey`, and the other
    // values, durably and all or nothing: on failure the stored values stay
    // as they were. False when nothing was written (the storage refused, or
    // a number of the list that JSON cannot hold).
    virtual bool write(const QString &listKey, const QList<TodoItem> &items,
                       const QList<std::pair<QString, QVariant>> &others = {}) = 0;
};

// The user's settings file as QSettings knows it (organization and
// application "marlowick", native format: ~/.config/marlowick/marlowick.conf
// on Linux). The list and other byte arrays are read and written straight in
// QSettings' own file form, the file replaced atomically and flushed to disk;
// whatever that fast path does not cover goes through QSettings itself.
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
    bool write(const QString &listKey, const QList<TodoItem> &items,
               const QList<std::pair<QString, QVariant>> &others = {}) override;

private:
    bool writeThroughQSettings(const QList<std::pair<QString, QVariant>> &values);

    QString m_fileName;
    JsonListWriter::SettingsValueWriter m_listWriter;
};
