// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/day_todo_list_model.h"

#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "views/text_bounds.h"

#include <QSet>

namespace {

qsizetype editableLength(const QString &title)
{
    return wholeCharactersWithin(title, DayTodoListModel::maxTitleLength);
}

} // namespace

DayTodoListModel::DayTodoListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void DayTodoListModel::setStore(TodoStore *store)
{
    if (m_store == store)
        return;
    if (m_store)
        disconnect(m_store, nullptr, this, nullptr);
    m_store = store;
    if (m_store) {
        connect(m_store, &TodoStore::itemsChanged, this, &DayTodoListModel::sync);
        connect(m_store, &TodoStore::selectedDateChanged, this, &DayTodoListModel::sync);
        connect(m_store, &TodoStore::selectedDateChanged, this, &DayTodoListModel::updateIsToday);
        connect(m_store, &TodoStore::todayChanged, this, &DayTodoListModel::updateIsToday);
        connect(m_store, &TodoStore::selectedDateLabelChanged, this, &DayTodoListModel::fullDayNameChanged);
    }
    updateIsToday();
    sync();
    Q_EMIT storeChanged();
    Q_EMIT fullDayNameChanged();
}

QString DayTodoListModel::fullDayName() const
{
    return m_store ? sharedCalendar().fullDayName(m_store->selectedDate(), m_store->now()) : QString();
}

void DayTodoListModel::updateIsToday()
{
    const bool today = m_store && sharedCalendar().isInToday(m_store->selectedDate(), m_store->now());
    if (today == m_isToday)
        return;
    m_isToday = today;
    Q_EMIT isTodayChanged();
}

void DayTodoListModel::sync()
{
    const QList<TodoItem> next = m_store ? m_store->itemsForSelectedDate() : QList<TodoItem>{};
    const int oldCount = count();

    // 1. Remove the rows whose to-do left the day, in runs from the back.
    QSet<QUuid> nextIds;
    for (const TodoItem &item : next)
        nextIds.insert(item.id);
    for (int row = count() - 1; row >= 0;) {
        if (nextIds.contains(m_items[row].id)) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !nextIds.contains(m_items[first - 1].id))
            --first;
        beginRemoveRows({}, first, row);
        m_items.remove(first, row - first + 1);
        endRemoveRows();
        row = first - 1;
    }

    // 2. The rows left must appear in the new list in the same order; the
    // store never reorders a day, but if it did, the rows are replaced.
    {
        qsizetype j = 0;
        bool inOrder = true;
        for (const TodoItem &item : std::as_const(m_items)) {
            while (j < next.size() && next[j].id != item.id)
                ++j;
            if (j == next.size()) {
                inOrder = false;
                break;
            }
            ++j;
        }
        if (!inOrder && !m_items.isEmpty()) {
            beginRemoveRows({}, 0, count() - 1);
            m_items.clear();
            endRemoveRows();
        }
    }

    // 3. Insert the new to-dos at their places, in runs; 4. report the rows
    // whose to-do changed.
    int row = 0;
    while (row < next.size()) {
        if (row < count() && m_items[row].id == next[row].id) {
            if (!(m_items[row] == next[row])) {
                m_items[row] = next[row];
                const QModelIndex changed = index(row);
                Q_EMIT dataChanged(changed, changed);
            }
            ++row;
            continue;
        }
        const QUuid stayingId = row < count() ? m_items[row].id : QUuid();
        int last = row;
        while (last + 1 < next.size() && next[last + 1].id != stayingId)
            ++last;
        beginInsertRows({}, row, last);
        for (int i = row; i <= last; ++i)
            m_items.insert(i, next[i]);
        endInsertRows();
        row = last + 1;
    }

    if (count() != oldCount)
        Q_EMIT countChanged();
}

int DayTodoListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant DayTodoListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const TodoItem &item = m_items[index.row()];
    switch (role) {
    case IdRole:
        return item.id.toString();
    case TitleRole:
    case Qt::DisplayRole:
        return item.title;
    case IsCompletedRole:
        return item.isCompleted;
    case ShownTitleRole: {
        const qsizetype shown = wholeCharactersWithin(item.title, maxShownTitleLength);
        return shown < item.title.size() ? item.title.first(shown) + u'\u2026' : item.title;
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> DayTodoListModel::roleNames() const
{
    return {{IdRole, "itemId"}, {TitleRole, "title"}, {IsCompletedRole, "isCompleted"}, {ShownTitleRole, "shownTitle"}};
}

QString DayTodoListModel::editablePart(const QString &title) const
{
    return title.first(editableLength(title));
}

int DayTodoListModel::rowOf(const QString &id) const
{
    const QUuid uuid(id);
    for (int row = 0; row < count(); ++row) {
        if (m_items[row].id == uuid)
            return row;
    }
    return -1;
}

namespace {

// The store finds the to-do an operation names by its id alone.
TodoItem named(const QString &id)
{
    TodoItem item;
    item.id = QUuid(id);
    return item;
}

} // namespace

void DayTodoListModel::toggleCompletion(const QString &id)
{
    if (m_store)
        m_store->toggleCompletion(named(id));
}

void DayTodoListModel::updateTitle(const QString &id, const QString &title)
{
    if (m_store)
        m_store->updateTitle(named(id), title);
}

void DayTodoListModel::updateEditedTitle(const QString &id, const QString &editedPart)
{
    const int row = rowOf(id);
    const QString title = row >= 0 ? m_items[row].title : QString();
    const qsizetype edited = editableLength(title);
    if (edited == title.size()) {
        updateTitle(id, editedPart);
        return;
    }
    if (editedPart != title.first(edited) && !TodoStore::isBlankTitle(editedPart))
        updateTitle(id, editedPart + title.sliced(edited));
}

void DayTodoListModel::deleteTodo(const QString &id)
{
    if (m_store)
        m_store->deleteTodo(named(id));
}

void DayTodoListModel::moveToToday(const QString &id)
{
    if (m_store)
        m_store->moveToToday(named(id));
}
