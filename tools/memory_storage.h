#pragma once

#include "model/todo_storage.h"

#include <QMap>

// Settings kept in memory: the tools never touch the user's list.
class MemoryStorage : public TodoStorage
{
public:
    QVariant value(const QString &key) const override { return m_values.value(key); }
    bool contains(const QString &key) const override { return m_values.contains(key); }
    bool write(const QList<std::pair<QString, QVariant>> &values) override
    {
        for (const auto &[key, value] : values)
            m_values.insert(key, value);
        return true;
    }

private:
    QMap<QString, QVariant> m_values;
};
