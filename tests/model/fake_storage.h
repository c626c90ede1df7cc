#pragma once

#include "model/todo_list_codec.h"
#include "model/todo_storage.h"

#include <QMap>

// Settings in memory, shared with the test through a pointer that outlives
// the store; writes can be made to fail.
struct FakeStorageState {
    QMap<QString, QVariant> values;
    int writes = 0;
    bool failWrites = false;
};

class FakeStorage : public TodoStorage
{
public:
    explicit FakeStorage(FakeStorageState *state)
        : m_state(state)
    {
    }

    QVariant value(const QString &key) const override { return m_state->values.value(key); }
    bool contains(const QString &key) const override { return m_state->values.contains(key); }

    bool write(const QString &listKey, const QList<TodoItem> &items,
               const QList<std::pair<QString, QVariant>> &others) override
    {
        const auto json = TodoListCodec::encode(items);
        if (m_state->failWrites || !json)
            return false;
        for (const auto &[key, value] : others)
            m_state->values.insert(key, value);
        m_state->values.insert(listKey, *json);
        ++m_state->writes;
        return true;
    }

private:
    FakeStorageState *m_state;
};
