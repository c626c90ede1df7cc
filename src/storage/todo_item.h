// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

// One to-do, a plain value. It is identified by `id` alone; equality compares
// every field and only tells whether a whole list changed.
struct TodoItem {
    Q_GADGET
    Q_PROPERTY(QUuid id MEMBER id)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(bool isCompleted MEMBER isCompleted)
    Q_PROPERTY(double createdAt MEMBER createdAt)
    Q_PROPERTY(double date MEMBER date)

public:
    QUuid id;
    QString title;
    bool isCompleted = false;
    // Instants (seconds since 2001-01-01T00:00:00Z): when the to-do was made,
    // and the start of the day it belongs to.
    double createdAt = 0;
    double date = 0;

    friend bool operator==(const TodoItem &, const TodoItem &) = default;
};

Q_DECLARE_METATYPE(TodoItem)
