#include "todo_store.h"

#include "day_calendar.h"
#include "instant.h"
#include "todo_list_codec.h"
#include "todo_storage.h"

#include <QDateTime>
#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcStore, "marlowick.store")

const QString TodoStore::itemsDefaultsKey = QStringLiteral("marlowick.items");
const QString TodoStore::unreadableItemsKeyPrefix = QStringLiteral("marlowick.items.unreadable");

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
    const QVariant stored = m_storage->value(itemsDefaultsKey);
    if (!stored.isValid())
        return;

    std::optional<QList<TodoItem>> decoded;
    if (stored.typeId() == QMetaType::QByteArray)
        decoded = TodoListCodec::decode(stored.toByteArray());
    if (!decoded) {
        qCWarning(lcStore) << "The stored to-do list cannot be read; starting with an empty list."
                           << "It will be kept under a key starting with" << unreadableItemsKeyPrefix;
        m_unreadableValue = stored;
        return;
    }

    // Written back at once in the writer's form, like every assignment.
    setItems(*decoded);

    // To-dos dated on the day of the Unix epoch come from a damaged clock or
    // writer: they are moved to today, one save each.
    const auto today = sharedCalendar().startOfDay(m_clock());
    const auto epochDay = sharedCalendar().dayContaining(Instant::unixEpoch);
    if (!today || !epochDay)
        return;
    const qsizetype count = m_items.size();
    for (qsizetype i = 0; i < count; ++i) {
        if (epochDay->contains(m_items.at(i).date)) {
            m_items[i].date = *today;
            itemsWereChanged();
        }
    }
}

bool TodoStore::save()
{
    QList<std::pair<QString, QVariant>> others;
    const bool keepingUnreadable = m_unreadableValue.isValid();
    if (keepingUnreadable)
        others.append({unusedUnreadableKey(), m_unreadableValue});
    if (!m_storage->write(itemsDefaultsKey, m_items, others)) {
        qCWarning(lcStore) << "The to-do list could not be saved; it stays in memory and is saved with the next change.";
        return false;
    }
    if (keepingUnreadable)
        m_unreadableValue = QVariant();
    return true;
}

QString TodoStore::unusedUnreadableKey() const
{
    const QString moment = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    const QString base = unreadableItemsKeyPrefix + u'.' + moment;
    QString key = base;
    for (int n = 2; m_storage->contains(key); ++n)
        key = base + u'-' + QString::number(n);
    return key;
}

void TodoStore::itemsWereChanged()
{
    Q_EMIT itemsChanged();
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

void TodoStore::setUndoStack(const QList<UndoEntry> &undoStack)
{
    m_undoStack = undoStack;
    Q_EMIT undoStackChanged();
}

void TodoStore::setDraftText(const QString &text)
{
    if (text == m_draftText)
        return;
    m_draftText = text;
    Q_EMIT draftTextChanged();
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
    QList<TodoItem> dayItems;
    const auto day = sharedCalendar().dayContaining(m_selectedDate);
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
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return;
    const auto day = sharedCalendar().startOfDay(m_selectedDate);
    if (!day)
        return;
    m_items.prepend(TodoItem{QUuid::createUuid(), trimmed, false, m_clock(), *day});
    itemsWereChanged();
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
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return;
    const qsizetype i = indexOf(item);
    if (i < 0)
        return;
    m_items[i].title = trimmed;
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
    Q_EMIT undoStackChanged();
    m_items.removeAt(i);
    itemsWereChanged();
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
        Q_EMIT undoStackChanged();
        m_items.insert(std::min<qint64>(entry.index, m_items.size()), entry.item);
        itemsWereChanged();
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
