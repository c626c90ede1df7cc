#pragma once

#include "model/todo_list_codec.h"
#include "model/todo_storage.h"

#include <QMap>

// Settings kept in memory: the tools never touch the user's list.
class MemoryStorage : public TodoStorage
{
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    bool contains(const QString &key) const override { return m_values.contains(key); }
    bool write(const QString &listKey, const QList<TodoItem> &items,
               const QList<std::pair<QString, QVariant>> &others) override
    {
        const auto json = TodoListCodec::encode(items);
        if (!json)
            return false;
        for (const auto &[key, value] : others)
            m_values.insert(key, value);
        m_values.insert(listKey, *json);
        return true;
    }

private:
    QMap<QString, QVariant> m_values;
};
