#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "views/day_todo_list_model.h"

#include "storage/memory_todo_storage.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct ModelFixture {
    MemoryTodoStorage::Contents storage;
    TodoStore store{std::make_unique<MemoryTodoStorage>(&storage)};
    DayTodoListModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QSignalSpy resets{&model, &QAbstractItemModel::modelReset};
    QSignalSpy inserted{&model, &QAbstractItemModel::rowsInserted};
    QSignalSpy removed{&model, &QAbstractItemModel::rowsRemoved};
    QSignalSpy changed{&model, &QAbstractItemModel::dataChanged};

    ModelFixture() { model.setStore(&store); }

    QStringList titles() const
    {
        QStringList result;
        for (int row = 0; row < model.rowCount(); ++row)
            result.append(model.data(model.index(row), DayTodoListModel::TitleRole).toString());
        return result;
    }
    QString idOf(const QString &title) const
    {
        for (int row = 0; row < model.rowCount(); ++row) {
            if (model.data(model.index(row), DayTodoListModel::TitleRole).toString() == title)
                return model.idAt(row);
        }
        return {};
    }
    void clearSpies()
    {
        inserted.clear();
        removed.clear();
        changed.clear();
    }
};

QPair<int, int> range(const QSignalSpy &spy, int i)
{
    return {spy.at(i).at(1).toInt(), spy.at(i).at(2).toInt()};
}

} // namespace

class DayTodoListModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachStoreChangeIsReportedAsTheRowsItTouched()
    {
        ModelFixture f;
        QVERIFY(f.model.isToday());
        f.store.addTodo(u"one"_s);
        f.store.addTodo(u"two"_s);
        f.store.addTodo(u"three"_s);
        QCOMPARE(f.titles(), (QStringList{u"three"_s, u"two"_s, u"one"_s}));
        QCOMPARE(f.inserted.size(), 3);
        QCOMPARE(range(f.inserted, 2), qMakePair(0, 0));
        f.clearSpies();

        f.model.toggleCompletion(f.idOf(u"two"_s));
        QCOMPARE(f.changed.size(), 1);
        QCOMPARE(f.changed.at(0).at(0).toModelIndex().row(), 1);
        QVERIFY(f.model.data(f.model.index(1), DayTodoListModel::IsCompletedRole).toBool());
        QVERIFY(f.inserted.isEmpty() && f.removed.isEmpty());

        f.model.updateTitle(f.idOf(u"one"_s), u"  first  "_s);
        QCOMPARE(f.titles(), (QStringList{u"three"_s, u"two"_s, u"first"_s}));
        QCOMPARE(f.changed.size(), 2);

        f.model.deleteTodo(f.idOf(u"two"_s));
        QCOMPARE(f.removed.size(), 1);
        QCOMPARE(range(f.removed, 0), qMakePair(1, 1));
        QCOMPARE(f.titles(), (QStringList{u"three"_s, u"first"_s}));

        // Undo brings it back at its place as one inserted row.
        f.store.undoLastDelete();
        QCOMPARE(f.inserted.size(), 1);
        QCOMPARE(range(f.inserted, 0), qMakePair(1, 1));
        QCOMPARE(f.titles(), (QStringList{u"three"_s, u"two"_s, u"first"_s}));
        QCOMPARE(f.resets.size(), 0);

        // A stale id does nothing.
        const QString gone = f.idOf(u"three"_s);
        f.model.deleteTodo(gone);
        f.clearSpies();
        f.model.toggleCompletion(gone);
        f.model.moveToToday(gone);
        QVERIFY(f.changed.isEmpty() && f.removed.isEmpty() && f.inserted.isEmpty());
    }

    void aChangeOfDayReplacesTheRowsAndMovingToTodayRemovesOne()
    {
        ModelFixture f;
        f.store.addTodo(u"today"_s);
        f.store.goToPreviousDay();
        QVERIFY(!f.model.isToday());
        QCOMPARE(f.model.count(), 0);
        QCOMPARE(f.removed.size(), 1);
        f.store.addTodo(u"a"_s);
        f.store.addTodo(u"b"_s);
        f.clearSpies();

        f.store.goToNextDay();
        QVERIFY(f.model.isToday());
        QCOMPARE(f.titles(), QStringList{u"today"_s});
        QCOMPARE(range(f.removed, 0), qMakePair(0, 1));
        QCOMPARE(range(f.inserted, 0), qMakePair(0, 0));

        f.store.goToPreviousDay();
        f.clearSpies();
        f.model.moveToToday(f.idOf(u"b"_s));
        QCOMPARE(f.titles(), QStringList{u"a"_s});
        QCOMPARE(f.removed.size(), 1);
        QCOMPARE(range(f.removed, 0), qMakePair(0, 0));
        QVERIFY(f.inserted.isEmpty());

        // Replacing the whole list with a reordered day still never resets.
        f.store.addTodo(u"c"_s);
        QList<TodoItem> items = f.store.items();
        std::reverse(items.begin(), items.end());
        f.store.setItems(items);
        QCOMPARE(f.titles(), (QStringList{u"a"_s, u"c"_s}));
        QCOMPARE(f.resets.size(), 0);
    }

    void aVeryLongTitleShowsAndEditsItsFirstPartsAndKeepsTheRest()
    {
        ModelFixture f;
        // The cut falls inside the emoji, which goes whole with the rest.
        const QString head(DayTodoListModel::maxTitleLength - 1, u'x');
        const QString title = head + u"\U0001F600 rest"_s;
        f.store.addTodo(title);
        f.store.addTodo(u"short"_s);
        const QModelIndex longRow = f.model.index(1);
        QCOMPARE(f.model.data(longRow, DayTodoListModel::ShownTitleRole).toString(),
                 head.first(DayTodoListModel::maxShownTitleLength) + u'\u2026');
        QCOMPARE(f.model.data(f.model.index(0), DayTodoListModel::ShownTitleRole).toString(), u"short"_s);
        QCOMPARE(f.model.editablePart(title), head);

        // Unchanged or blank, the part leaves the title as it is.
        f.clearSpies();
        f.model.updateEditedTitle(f.model.idAt(1), head);
        f.model.updateEditedTitle(f.model.idAt(1), u"  "_s);
        QVERIFY(f.changed.isEmpty());
        f.model.updateEditedTitle(f.model.idAt(1), u"new "_s);
        QCOMPARE(f.titles().at(1), u"new \U0001F600 rest"_s);
        f.model.updateEditedTitle(f.model.idAt(0), u" shorter "_s);
        QCOMPARE(f.titles().at(0), u"shorter"_s);
    }
};

QTEST_MAIN(DayTodoListModelTest)
#include "day_todo_list_model_test.moc"
