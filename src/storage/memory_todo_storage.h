// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"

#include <QMap>

#include <memory>

// Settings kept in memory, for previews and tests: the user's list is never
// touched. The contents may belong to the caller and outlive the store, to be
// looked at after it is gone; reading can fail and writes can be refused, as
// an unreadable file or a full disk would.
class MemoryTodoStorage : public TodoStorage
{
public:
    struct Contents {
        QMap<QString, QVariant> values;
        int writes = 0;
        // Set: writes fail with this reason.
        QString writeError;
        // Set: reading finds nothing, for this reason.
        QString readProblem;
        // The values as they were before each write that kept a copy.
        QList<QMap<QString, QVariant>> keptCopies;
    };

    MemoryTodoStorage()
        : m_owned(std::make_unique<Contents>())
        , m_contents(m_owned.get())
    {
    }
    explicit MemoryTodoStorage(Contents *contents)
        : m_contents(contents)
    {
    }

    Stored read(const QString &key) override
    {
        if (!m_contents->readProblem.isEmpty())
            return {QVariant(), m_contents->readProblem};
        return {m_contents->values.value(key), {}};
    }

    bool write(const QString &key, const QList<TodoItem> &items, StoredCopy storedCopy) override
    {
        const auto json = TodoListCodec::encode(items);
        m_error = !m_contents->writeError.isEmpty() ? m_contents->writeError
            : !json                                 ? QStringLiteral("not JSON")
                                                    : QString();
        if (!m_error.isEmpty())
            return false;
        if (storedCopy == StoredCopy::Always)
            m_contents->keptCopies.append(m_contents->values);
        m_contents->values.insert(key, *json);
        ++m_contents->writes;
        return true;
    }
    QString errorString() const override { return m_error; }

private:
    std::unique_ptr<Contents> m_owned;
    Contents *m_contents;
    QString m_error;
};
