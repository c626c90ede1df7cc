#pragma once

#include "todo_list_codec.h"
#include "todo_storage.h"

#include <QMap>

#include <memory>

// Settings kept in memory, for previews and tests: the user's list is never
// touched. The contents may belong to the caller and outlive the store, to be
// looked at after it is gone; writes can be refused, as a full disk would.
class MemoryTodoStorage : public TodoStorage
{
public:
    struct Contents {
        QMap<QString, QVariant> values;
        int writes = 0;
        bool failWrites = false;
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

    QVariant value(const QString &key) const override { return m_contents->values.value(key); }
    bool contains(const QString &key) const override { return m_contents->values.contains(key); }

    bool write(const QString &listKey, const QList<TodoItem> &items,
               const QList<std::pair<QString, QVariant>> &others) override
    {
        const auto json = TodoListCodec::encode(items);
        if (m_contents->failWrites || !json)
            return false;
        for (const auto &[key, value] : others)
            m_contents->values.insert(key, value);
        m_contents->values.insert(listKey, *json);
        ++m_contents->writes;
        return true;
    }

private:
    std::unique_ptr<Contents> m_owned;
    Contents *m_contents;
};
