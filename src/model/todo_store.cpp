// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/todo_store.h"

#include "model/day_calendar.h"
#include "model/instant.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"

#include <QLoggingCategory>
#include <QSet>

#include <algorithm>
#include <utility>

Q_LOGGING_CATEGORY(lcStore, "marlowick.store")

const QString TodoStore::itemsDefaultsKey = QStringLiteral("marlowick.items");

TodoStore::TodoStore(std::unique_ptr<TodoStorage> storage, Clock clock, QObject *parent)
    : QObject(parent)
    , m_storage(std::move(storage))
    , m_clock(clock ? std::move(clock) : Clock(&Instant::now))
{
    m_today = sharedCalendar().startOfDay(m_clock()).value_or(0);
    m_selectedDate = m_today;
    connect(this, &TodoStore::selectedDateChanged, this, &TodoStore::selectedDateLabelChanged);
    connect(this, &TodoStore::todayChanged, this, &TodoStore::selectedDateLabelChanged);
    load();
}

TodoStore::TodoStore(QObject *parent)
    : TodoStore(std::make_unique<SettingsTodoStorage>(), {}, parent)
{
}

TodoStore::~TodoStore() = default;

void TodoStore::load()
{
    const TodoStorage::Stored stored = m_storage->read(itemsDefaultsKey);
    std::optional<QList<TodoItem>> decoded;
    bool inexact = false;
    if (stored.value.typeId() == QMetaType::QByteArray)
        decoded = TodoListCodec::decode(stored.value.toByteArray(), &inexact);
    if (!decoded) {
        if (stored.value.isValid())
            m_readProblem = QStringLiteral("the stored list is damaged");
        else
            m_readProblem = stored.problem;
        // What could not be read is kept aside before anything replaces it.
        m_keepStoredCopy = !m_readProblem.isEmpty();
        if (m_keepStoredCopy)
            qCWarning(lcStore).noquote() << "The stored to-do list was not read:" << m_readProblem
                                         << "- starting with an empty list; what is stored is copied aside before"
                                         << "the first save writes over it.";
        return;
    }

    // A text read with a character replaced: the stored text, as it is,
    // is kept aside before the first save writes over it.
    if (inexact) {
        m_keepStoredCopy = true;
        qCWarning(lcStore) << "A text of the stored to-do list holds half a surrogate pair, read as U+FFFD;"
                           << "what is stored is copied aside before the first save writes over it.";
    }

    // Rows are told apart by id: a to-do that repeats an earlier one's id
    // (a hand edit, a merge of two files) gets an id of its own.
    QSet<QUuid> ids;
    for (TodoItem &item : *decoded) {
        if (ids.contains(item.id))
            item.id = QUuid::createUuid();
        ids.insert(item.id);
    }

    const auto today = sharedCalendar().startOfDay(m_clock());
    const auto movedDay = dayMovedToToday();
    if (today && movedDay) {
        for (TodoItem &item : *decoded) {
            if (movedDay->contains(item.date))
                item.date = *today;
        }
    }

    // Written back at once, repairs and all, in the writer's form.
    setItems(*decoded);
}

std::optional<DayInterval> TodoStore::dayMovedToToday()
{
    // Its dates come from a damaged clock or writer.
    return sharedCalendar().dayContaining(Instant::unixEpoch);
}

bool TodoStore::save()
{
    const QString before = storageNotice();
    const bool saved =
        m_storage->write(itemsDefaultsKey, m_items,
                         m_keepStoredCopy ? TodoStorage::StoredCopy::Always : TodoStorage::StoredCopy::IfNotUnderstood);
    if (saved)
        m_keepStoredCopy = false;
    m_saveError = saved ? QString() : m_storage->errorString();
    if (!saved && m_saveError.isEmpty())
        m_saveError = QStringLiteral("the storage refused it");
    if (storageNotice() != before)
        Q_EMIT storageNoticeChanged();
    return saved;
}

bool TodoStore::saveIfBehind()
{
    return isSaved() || save();
}

QString TodoStore::storageNotice() const
{
    if (!m_saveError.isEmpty())
        return QStringLiteral("Not saved: ") + m_saveError;
    if (!m_readProblem.isEmpty())
        return QStringLiteral("Not read: ") + m_readProblem;
    return QString();
}

void TodoStore::itemsWereChanged()
{
    Q_EMIT itemsChanged();
    if (m_savesHeld > 0)
        m_heldSaveDue = true;
    else
        save();
}

void TodoStore::releaseSaves()
{
    if (--m_savesHeld > 0 || !std::exchange(m_heldSaveDue, false))
        return;
    save();
}

void TodoStore::setItems(const QList<TodoItem> &items)
{
    if (items == m_items) {
        save();
        return;
    }
    m_items = items;
    itemsWereChanged();
}

void TodoStore::setDraftText(const QString &text)
{
    if (text == m_draftText)
        return;
    m_draftText = text;
    Q_EMIT draftTextChanged();
}

qsizetype TodoStore::titleLength(QStringView title)
{
    return title.size() - std::count_if(title.cbegin(), title.cend(), [](QChar c) { return c.isLowSurrogate(); });
}

bool TodoStore::canAddDraft() const
{
    return !isBlankTitle(m_draftText);
}

bool TodoStore::addDraft()
{
    if (!addTodoOnDay(m_draftText, m_selectedDate))
        return false;
    setDraftText(QString());
    return true;
}

void TodoStore::setSelectedDate(double date)
{
    if (date == m_selectedDate)
        return;
    m_selectedDate = date;
    Q_EMIT selectedDateChanged();
}

qsizetype TodoStore::indexOf(const TodoItem &item) const
{
    const auto found = std::find_if(m_items.cbegin(), m_items.cend(),
                                    [&](const TodoItem &candidate) { return candidate.id == item.id; });
    return found == m_items.cend() ? -1 : found - m_items.cbegin();
}

QList<TodoItem> TodoStore::itemsForSelectedDate() const
{
    return itemsForDay(m_selectedDate);
}

QList<TodoItem> TodoStore::itemsForDay(double instant) const
{
    QList<TodoItem> dayItems;
    const auto day = sharedCalendar().dayContaining(instant);
    if (!day)
        return dayItems;
    for (const TodoItem &item : m_items) {
        if (day->contains(item.date))
            dayItems.append(item);
    }
    return dayItems;
}

void TodoStore::addTodo(const QString &title)
{
    addTodoOnDay(title, m_selectedDate);
}

bool TodoStore::addTodoOnDay(const QString &title, double instant)
{
    if (isBlankTitle(title))
        return false;
    const QString trimmed = title.trimmed();
    const auto day = sharedCalendar().startOfDay(instant);
    if (!day)
        return false;
    m_items.prepend(TodoItem{QUuid::createUuid(), trimmed, false, m_clock(), *day});
    itemsWereChanged();
    Q_EMIT todoAdded(trimmed);
    return true;
}

void TodoStore::toggleCompletion(const TodoItem &item)
{
    const qsizetype i = indexOf(item);
    if (i < 0)
        return;
    m_items[i].isCompleted = !m_items[i].isCompleted;
    itemsWereChanged();
}

void TodoStore::updateTitle(const TodoItem &item, const QString &title)
{
    if (isBlankTitle(title))
        return;
    const qsizetype i = indexOf(item);
    if (i < 0)
        return;
    m_items[i].title = title.trimmed();
    itemsWereChanged();
}

void TodoStore::deleteTodo(const TodoItem &item)
{
    const qsizetype i = indexOf(item);
    if (i < 0)
        return;
    m_undoStack.append(UndoEntry{m_items.at(i), i, m_selectedDate});
    if (m_undoStack.size() > maxUndoEntries)
        m_undoStack.removeFirst();
    const QString title = m_items.takeAt(i).title;
    itemsWereChanged();
    Q_EMIT todoDeleted(title);
}

void TodoStore::undoLastDelete()
{
    const auto day = sharedCalendar().dayContaining(m_selectedDate);
    if (!day)
        return;
    for (qsizetype e = m_undoStack.size() - 1; e >= 0; --e) {
        if (!day->contains(m_undoStack.at(e).date))
            continue;
        const UndoEntry entry = m_undoStack.takeAt(e);
        m_items.insert(std::min<qint64>(entry.index, m_items.size()), entry.item);
        itemsWereChanged();
        Q_EMIT deletionUndone(entry.item.title);
        return;
    }
}

void TodoStore::moveToToday(const TodoItem &item)
{
    const qsizetype i = indexOf(item);
    if (i < 0)
        return;
    const auto today = sharedCalendar().startOfDay(m_clock());
    if (!today)
        return;
    m_items[i].date = *today;
    itemsWereChanged();
}

void TodoStore::goToPreviousDay()
{
    shiftSelectedDate(-1);
}

void TodoStore::goToNextDay()
{
    shiftSelectedDate(1);
}

void TodoStore::shiftSelectedDate(int days)
{
    if (const auto moved = sharedCalendar().addingDays(m_selectedDate, days))
        setSelectedDate(*moved);
}

QString TodoStore::selectedDateLabel() const
{
    return sharedCalendar().dayLabel(m_selectedDate, m_clock());
}

void TodoStore::refreshToday()
{
    const auto today = sharedCalendar().startOfDay(m_clock());
    if (!today || *today == m_today)
        return;
    m_today = *today;
    Q_EMIT todayChanged();
}

std::optional<double> TodoStore::endOfToday() const
{
    const auto day = sharedCalendar().dayContaining(m_today);
    if (!day)
        return std::nullopt;
    return day->end;
}
