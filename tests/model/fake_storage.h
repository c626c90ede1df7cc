#pragma once

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

    bool write(const QList<std::pair<QString, QVariant>> &values) override
    {
        if (m_state->failWrites)
            return false;
        for (const auto &[key, value] : values)
            m_state->values.insert(key, value);
        ++m_state->writes;
        return true;
    }

private:
    FakeStorageState *m_state;
};
