// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "model/todo_store.h"
#include "storage/todo_item.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QtQmlIntegration/qqmlintegration.h>

// The to-dos of the store's selected day as a list model, in the store's order
// (most recently added first). It follows the store and reports each change
// as the rows inserted, removed or changed, never as a reset, so views keep
// the rows that stay and animate those that come and go; a change of day
// removes the old day's rows and inserts the new day's.
//
// The actions name a to-do by its id and act on the stored to-do with that
// id; an id that is no longer stored does nothing.
class DayTodoListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(TodoStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // Whether the selected day is today.
    Q_PROPERTY(bool isToday READ isToday NOTIFY isTodayChanged)
    // The day in full, as a screen reader says it ("Today, Monday, December
    // 7, 2026"); it changes with the day's label.
    Q_PROPERTY(QString fullDayName READ fullDayName NOTIFY fullDayNameChanged)
    Q_PROPERTY(int maxTitleLength READ titleLengthLimit CONSTANT)

public:
    // TitleRole is the whole title; ShownTitleRole at most
    // maxShownTitleLength characters of it, then an ellipsis.
    enum Role { IdRole = Qt::UserRole + 1, TitleRole, IsCompletedRole, ShownTitleRole };
    Q_ENUM(Role)

    // Laying out one unbroken line takes time that grows with the square of
    // its length: a pasted megabyte would take minutes. A row shows whole
    // titles of up to some 80 lines (2 ms), an edit field takes ten thousand
    // characters (20 ms, once).
    static constexpr int maxShownTitleLength = 2000;
    static constexpr int maxTitleLength = TodoStore::maxTitleLength;
    // The part of a title that an edit field takes: all of it, or the first
    // maxTitleLength characters (whole characters) of it.
    Q_INVOKABLE QString editablePart(const QString &title) const;

    explicit DayTodoListModel(QObject *parent = nullptr);

    TodoStore *store() const { return m_store; }
    void setStore(TodoStore *store);
    int count() const { return int(m_items.size()); }
    bool isToday() const { return m_isToday; }
    QString fullDayName() const;
    int titleLengthLimit() const { return maxTitleLength; }
    const QList<TodoItem> &items() const { return m_items; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE int rowOf(const QString &id) const;

    Q_INVOKABLE void toggleCompletion(const QString &id);
    Q_INVOKABLE void updateTitle(const QString &id, const QString &title);
    // Ends an edit in place of editablePart(): the rest of a longer title
    // stays after the edited text, and a longer title whose part came back
    // unchanged, or blank, stays as it is.
    Q_INVOKABLE void updateEditedTitle(const QString &id, const QString &editedPart);
    Q_INVOKABLE void deleteTodo(const QString &id);
    Q_INVOKABLE void moveToToday(const QString &id);

Q_SIGNALS:
    void storeChanged();
    void countChanged();
    void isTodayChanged();
    void fullDayNameChanged();

private:
    void sync();
    void updateIsToday();

    QPointer<TodoStore> m_store;
    QList<TodoItem> m_items;
    bool m_isToday = false;
};
