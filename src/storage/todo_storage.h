// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/json_list_writer.h"
#include "storage/todo_item.h"

#include <QList>
#include <QString>
#include <QVariant>

// Where the store keeps the list: a key of the user's settings.
class TodoStorage
{
public:
    virtual ~TodoStorage() = default;

    struct Stored {
        // The value under the key; invalid when there is none.
        QVariant value;
        // Why the settings were not read completely and unambiguously (the
        // file cannot be opened, or is damaged); empty when they were.
        QString problem;
    };
    virtual Stored read(const QString &key) = 0;
    QVariant value(const QString &key) { return read(key).value; }

    // Whether to keep a copy of what is stored before writing over it. It
    // is always kept when the storage itself did not understand it.
    enum class StoredCopy { IfNotUnderstood, Always };

    // Writes the list as JSON under the key, durably and all or nothing: on
    // failure the stored values stay as they were and errorString() says
    // why.
    virtual bool write(const QString &key, const QList<TodoItem> &items,
                       StoredCopy storedCopy = StoredCopy::IfNotUnderstood) = 0;
    virtual QString errorString() const = 0;
};

// The user's settings file as QSettings knows it (organization and
// application "marlowick", native format: ~/.config/marlowick/marlowick.conf
// on Linux). The list is read and written straight in QSettings' own file
// form: each save takes QSettings' lock, reads the file as it is then,
// replaces the list's line and puts the new file in place atomically,
// flushed to disk. A file in any other form goes through QSettings, once a
// byte-identical copy of it is kept beside it.
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

    Stored read(const QString &key) override;
    bool write(const QString &key, const QList<TodoItem> &items,
               StoredCopy storedCopy = StoredCopy::IfNotUnderstood) override;
    QString errorString() const override { return m_error; }

private:
    bool fail(const QString &error);
    // Whether the raw value under the key reads the same here as in
    // QSettings.
    bool understands(QByteArrayView rawValue) const;
    bool keepCopy(const QByteArray &contents);
    std::optional<QByteArray> rewrittenByQSettings(const QByteArray &contents, const QString &key,
                                                   const QList<TodoItem> &items);

    QString m_fileName;
    JsonListWriter::SettingsValueWriter m_listWriter;
    // The list's value as last read or written, known to be understood.
    QByteArray m_knownValue;
    // A hash of the contents last kept aside, so that a retried save keeps
    // no second copy of them.
    QByteArray m_keptHash;
    QString m_error;
};
