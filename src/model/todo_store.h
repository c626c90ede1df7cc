// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "model/day_calendar.h"
#include "model/undo_entry.h"
#include "storage/todo_item.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQmlIntegration/qqmlintegration.h>

#include <functional>
#include <memory>
#include <optional>

class TodoStorage;

// The one store of to-dos: every to-do of every day, the day shown, the text
// being typed for a new to-do and the recent deletions. Every change of the
// list is saved at once. Main thread only.
class TodoStore : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application makes the one store")
    Q_PROPERTY(QList<TodoItem> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(QString draftText READ draftText WRITE setDraftText NOTIFY draftTextChanged)
    Q_PROPERTY(bool canAddDraft READ canAddDraft NOTIFY draftTextChanged)
    Q_PROPERTY(double selectedDate READ selectedDate NOTIFY selectedDateChanged)
    Q_PROPERTY(QString selectedDateLabel READ selectedDateLabel NOTIFY selectedDateLabelChanged)
    Q_PROPERTY(QString storageNotice READ storageNotice NOTIFY storageNoticeChanged)
    Q_PROPERTY(int maxTitleLength READ titleLengthLimit CONSTANT)

public:
    static constexpr qsizetype maxUndoEntries = 50;
    // The longest title a to-do takes, typed, pasted or given on the command
    // line, in characters (code points). Longer stored titles stay as they are.
    static constexpr int maxTitleLength = 10000;
    int titleLengthLimit() const { return maxTitleLength; }
    // A blank title (white space or nothing) makes no to-do and changes none.
    static bool isBlankTitle(QStringView title) { return title.trimmed().isEmpty(); }
    // A title's length in characters: code points, a surrogate pair one.
    static qsizetype titleLength(QStringView title);
    using Clock = std::function<double()>;

    // Reads the stored list at once. The clock gives the current instant.
    explicit TodoStore(std::unique_ptr<TodoStorage> storage, Clock clock = {}, QObject *parent = nullptr);
    // The user's settings and the system clock.
    explicit TodoStore(QObject *parent = nullptr);
    ~TodoStore() override;

    const QList<TodoItem> &items() const { return m_items; }
    // Replaces the whole list; saves even when the list is equal, but then
    // notifies nobody.
    void setItems(const QList<TodoItem> &items);

    const QString &draftText() const { return m_draftText; }
    void setDraftText(const QString &text);
    // Whether the draft would make a to-do: not blank.
    bool canAddDraft() const;
    // Adds the draft as a to-do of the selected day and empties it; false,
    // the draft kept, when nothing was added.
    Q_INVOKABLE bool addDraft();

    double selectedDate() const { return m_selectedDate; }
    // The current instant, from the store's clock.
    double now() const { return m_clock(); }

    // The to-dos of the selected day, most recently added first.
    QList<TodoItem> itemsForSelectedDate() const;
    // The to-dos of the day that contains the instant, in the same order.
    QList<TodoItem> itemsForDay(double instant) const;

    void addTodo(const QString &title);
    // Adds the to-do to the day that contains the instant instead of the
    // selected day; false when nothing was added (a blank title).
    bool addTodoOnDay(const QString &title, double instant);
    void toggleCompletion(const TodoItem &item);
    void updateTitle(const TodoItem &item, const QString &title);
    void deleteTodo(const TodoItem &item);
    Q_INVOKABLE void undoLastDelete();
    void moveToToday(const TodoItem &item);

    Q_INVOKABLE void goToPreviousDay();
    Q_INVOKABLE void goToNextDay();
    Q_INVOKABLE void shiftSelectedDate(int days);
    QString selectedDateLabel() const;

    // The store does not follow the clock: this takes the current day from it
    // again and, when the day has changed since, tells the views that show
    // which day is today (todayChanged).
    Q_INVOKABLE void refreshToday();
    // The instant at which the current day, as last taken, ends.
    std::optional<double> endOfToday() const;

    // The day whose to-dos loading moves to today: that of the Unix epoch.
    static std::optional<DayInterval> dayMovedToToday();

    // Saves again if the last save failed; true when the list on disk is
    // the list in memory.
    bool saveIfBehind();
    bool isSaved() const { return m_saveError.isEmpty(); }

    // Changes made between these two are saved once, at the end (requests
    // that came together). They nest.
    void holdSaves() { ++m_savesHeld; }
    void releaseSaves();
    bool areSavesHeld() const { return m_savesHeld > 0; }

    // One line for the panel while something is wrong with the stored list:
    // "Not saved: <reason>" while the list on disk is behind the list shown,
    // else "Not read: <reason>" when the stored list could not be read at
    // start; empty otherwise.
    QString storageNotice() const;

    static const QString itemsDefaultsKey;

Q_SIGNALS:
    void itemsChanged();
    void draftTextChanged();
    void selectedDateChanged();
    void selectedDateLabelChanged();
    void todayChanged();
    void storageNoticeChanged();
    // A to-do came, went, or came back by undo (after the list changed), so
    // that the views can say so.
    void todoAdded(const QString &title);
    void todoDeleted(const QString &title);
    void deletionUndone(const QString &title);

private:
    void load();
    // Writes the whole list; false when it could not be written, in which case
    // the stored list stays as it was and the list on disk is behind.
    bool save();
    void setSelectedDate(double date);
    qsizetype indexOf(const TodoItem &item) const;
    // Runs after every change of the list: notifies, then saves.
    void itemsWereChanged();

    std::unique_ptr<TodoStorage> m_storage;
    Clock m_clock;

    QList<TodoItem> m_items;
    QList<UndoEntry> m_undoStack;
    QString m_draftText;
    double m_selectedDate = 0;
    // The start of the current day when the clock was last read for it.
    double m_today = 0;

    // Why the stored list was not read at start; empty when it was (or
    // there was none).
    QString m_readProblem;
    // Why the last save failed; empty when it succeeded.
    QString m_saveError;
    // Set while what is stored has not been taken into the list: a copy of
    // it is kept before the first save writes over it.
    bool m_keepStoredCopy = false;
    int m_savesHeld = 0;
    bool m_heldSaveDue = false;
};
