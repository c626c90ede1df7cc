// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "views/day_todo_list_model.h"

#include "storage/memory_todo_storage.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The model over a store in memory, with what it reported as a log:
// "+0-1" rows 0 to 1 inserted, "-2-2" removed, "~1" row 1 changed, "reset".
struct ModelFixture {
    MemoryTodoStorage::Contents storage;
    TodoStore store{std::make_unique<MemoryTodoStorage>(&storage)};
    DayTodoListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QStringList log;

    ModelFixture()
    {
        model.setStore(&store);
        const auto range = [this](QChar sign) {
            return [this, sign](const QModelIndex &, int first, int last) {
                log.append(sign + u"%1-%2"_s.arg(first).arg(last));
            };
        };
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, range(u'+'));
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, range(u'-'));
        QObject::connect(&model, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex &index) { log.append(u"~%1"_s.arg(index.row())); });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { log.append(u"reset"_s); });
    }

    QString reported() { return std::exchange(log, {}).join(u' '); }
    QString titles() const
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.data(model.index(row), DayTodoListModel::TitleRole).toString());
        return result.join(u' ');
    }
    QString idAt(int row) const { return model.data(model.index(row), DayTodoListModel::IdRole).toString(); }
    QString idOf(const QString &title) const { return idAt(titles().split(u' ').indexOf(title)); }
};

} // namespace

class DayTodoListModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachStoreChangeIsReportedAsTheRowsItTouched()
    {
        ModelFixture f;
        QVERIFY(f.model.isToday());
        for (const QString &title : {u"one"_s, u"two"_s, u"three"_s})
            f.store.addTodo(title);
        QCOMPARE(f.titles(), u"three two one"_s);
        QCOMPARE(f.reported(), u"+0-0 +0-0 +0-0"_s);
        f.model.toggleCompletion(f.idOf(u"two"_s));
        QVERIFY(f.model.data(f.model.index(1), DayTodoListModel::IsCompletedRole).toBool());
        f.model.updateTitle(f.idOf(u"one"_s), u"  first  "_s);
        f.model.deleteTodo(f.idOf(u"two"_s));
        QCOMPARE(f.titles(), u"three first"_s);
        // Undo brings it back at its place as one inserted row.
        f.store.undoLastDelete();
        QCOMPARE(f.titles(), u"three two first"_s);
        QCOMPARE(f.reported(), u"~1 ~2 -1-1 +1-1"_s);

        // A stale id does nothing.
        const QString gone = f.idOf(u"three"_s);
        f.model.deleteTodo(gone);
        f.reported();
        f.model.toggleCompletion(gone);
        f.model.moveToToday(gone);
        QCOMPARE(f.reported(), QString());

        // A change of day replaces the rows (and names the day anew); moving
        // to today removes one.
        QSignalSpy dayNamed(&f.model, &DayTodoListModel::fullDayNameChanged);
        f.store.goToPreviousDay();
        QVERIFY(!f.model.isToday());
        QVERIFY(f.model.fullDayName().startsWith(u"Yesterday, "_s));
        QCOMPARE(dayNamed.count(), 1);
        f.store.addTodo(u"a"_s);
        f.store.addTodo(u"b"_s);
        QCOMPARE(f.reported(), u"-0-1 +0-0 +0-0"_s);
        f.store.goToNextDay();
        QVERIFY(f.model.isToday());
        QCOMPARE(f.titles(), u"two first"_s);
        QCOMPARE(f.reported(), u"-0-1 +0-1"_s);

        f.store.goToPreviousDay();
        f.reported();
        f.model.moveToToday(f.idOf(u"b"_s));
        QCOMPARE(f.titles(), u"a"_s);
        QCOMPARE(f.reported(), u"-0-0"_s);

        // Replacing the whole list with a reordered day still never resets.
        f.store.addTodo(u"c"_s);
        QList<TodoItem> items = f.store.items();
        std::reverse(items.begin(), items.end());
        f.store.setItems(items);
        QCOMPARE(f.titles(), u"a c"_s);
        QVERIFY(!f.reported().contains(u"reset"_s));
    }

    void aVeryLongTitleShowsAndEditsItsFirstPartsAndKeepsTheRest()
    {
        ModelFixture f;
        // The cut counts characters: the first emoji, two UTF-16 units, is
        // the last that fits; the second goes whole with the rest.
        const QString head = QString(DayTodoListModel::maxTitleLength - 1, u'x') + u"\U0001F600"_s;
        const QString title = head + u"\U0001F600 rest"_s;
        f.store.addTodo(title);
        f.store.addTodo(u"short"_s);
        QCOMPARE(f.model.data(f.model.index(1), DayTodoListModel::ShownTitleRole).toString(),
                 head.first(DayTodoListModel::maxShownTitleLength) + u'\u2026');
        QCOMPARE(f.model.data(f.model.index(0), DayTodoListModel::ShownTitleRole).toString(), u"short"_s);
        QCOMPARE(f.model.editablePart(title), head);

        // Unchanged or blank, the part leaves the title as it is.
        f.reported();
        f.model.updateEditedTitle(f.idAt(1), head);
        f.model.updateEditedTitle(f.idAt(1), u"  "_s);
        QCOMPARE(f.reported(), QString());
        f.model.updateEditedTitle(f.idAt(1), u"new "_s);
        QCOMPARE(f.store.items().at(1).title, u"new \U0001F600 rest"_s);
        f.model.updateEditedTitle(f.idAt(0), u" shorter "_s);
        QCOMPARE(f.store.items().at(0).title, u"shorter"_s);
    }
};

QTEST_MAIN(DayTodoListModelTest)
#include "day_todo_list_model_test.moc"
