// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "storage/memory_todo_storage.h"
#include "storage/todo_list_codec.h"

#include "support/model/test_instants.h"

#include <QSignalSpy>
#include <QTest>

#include <ctime>

using namespace Qt::StringLiterals;

namespace {

// The test runs in New York time (main.cpp); the store's calendar is the
// system's.
const QTimeZone newYork("America/New_York");

struct StoreFixture {
    MemoryTodoStorage::Contents storage;
    double now = instantAt(newYork, 2026, 12, 5, 9, 30); // Saturday morning
    std::unique_ptr<TodoStore> store;

    TodoStore &open()
    {
        store = std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(&storage), [this] { return now; });
        return *store;
    }

    void storeItems(const QList<TodoItem> &items)
    {
        storage.values[TodoStore::itemsDefaultsKey] = *TodoListCodec::encode(items);
    }

    QList<TodoItem> storedItems() const
    {
        return TodoListCodec::decode(storage.values.value(TodoStore::itemsDefaultsKey).toByteArray()).value();
    }
};

TodoItem itemOn(double date, const QString &title)
{
    return TodoItem{QUuid::createUuid(), title, false, date + 60, date};
}

QStringList titles(const QList<TodoItem> &items)
{
    QStringList result;
    for (const TodoItem &item : items)
        result.append(item.title);
    return result;
}

const double december5 = instantAt(newYork, 2026, 12, 5);
const double december4 = instantAt(newYork, 2026, 12, 4);

} // namespace

class TodoStoreTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aFailedSaveIsShownUntilASaveSucceedsAndWhatWasNotReadIsKept_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("readProblem");
        QTest::addColumn<QString>("notice");
        const QString damaged = u"Not read: the stored list is damaged"_s;
        QTest::newRow("read") << QVariant(QByteArray("[]")) << QString() << QString();
        QTest::newRow("not a list") << QVariant(QByteArray(R"([{"id":"not-a-uuid","title":"Years of to-dos"}])"))
                                    << QString() << damaged;
        QTest::newRow("not bytes") << QVariant(u"[]"_s) << QString() << damaged;
        QTest::newRow("unreadable") << QVariant() << u"marlowick.conf cannot be read: Permission denied"_s
                                    << u"Not read: marlowick.conf cannot be read: Permission denied"_s;
    }
    void aFailedSaveIsShownUntilASaveSucceedsAndWhatWasNotReadIsKept()
    {
        QFETCH(QVariant, stored);
        QFETCH(QString, readProblem);
        QFETCH(QString, notice);
        StoreFixture f;
        if (stored.isValid())
            f.storage.values[TodoStore::itemsDefaultsKey] = stored;
        f.storage.readProblem = readProblem;
        TodoStore &store = f.open();
        QVERIFY(store.items().isEmpty());
        QCOMPARE(f.storage.writes, notice.isEmpty() ? 1 : 0); // what was not read is not written over at start
        QCOMPARE(store.storageNotice(), notice);

        QSignalSpy noticeChanged(&store, &TodoStore::storageNoticeChanged);
        f.storage.writeError = u"No space left on device"_s;
        store.addTodo(u"First"_s);
        QVERIFY(!store.isSaved());
        QCOMPARE(store.storageNotice(), u"Not saved: No space left on device"_s);
        QVERIFY(!store.saveIfBehind());
        QCOMPARE(f.storage.values.value(TodoStore::itemsDefaultsKey), stored);
        f.storage.writeError.clear();
        QVERIFY(store.saveIfBehind());
        QCOMPARE(noticeChanged.count(), 2);
        QCOMPARE(store.storageNotice(), notice); // a list not read is still not the one shown
        // The first save that succeeds keeps a copy of what it writes over;
        // the failed one made none, and later saves make no more.
        store.addTodo(u"Second"_s);
        QCOMPARE(f.storage.keptCopies.size(), notice.isEmpty() ? 0 : 1);
        if (!notice.isEmpty())
            QCOMPARE(f.storage.keptCopies.first().value(TodoStore::itemsDefaultsKey), stored);
        QCOMPARE(titles(f.storedItems()), (QStringList{u"Second"_s, u"First"_s}));
        const int writes = f.storage.writes;
        QVERIFY(store.saveIfBehind()); // nothing behind, nothing written
        QCOMPARE(f.storage.writes, writes);
    }

    // Loading repairs repeated ids and to-dos of the epoch day and writes
    // back, once, in the writer's form only what it read.
    void loadsRepairsAndWritesBackOnce()
    {
        StoreFixture none;
        QCOMPARE(none.open().selectedDateLabel(), u"Today, Dec 5"_s);
        QCOMPARE(none.storage.writes, 0); // nothing stored, nothing written

        StoreFixture f;
        TodoItem first = itemOn(december5, u"first"_s);
        TodoItem second = first;
        second.title = u"second"_s;
        // 1970-01-01T00:00:00Z is the evening of Dec 31, 1969 in New York:
        // to-dos of that local day move to today, those of the next stay.
        const double nextLocalDay = instantAt(newYork, 1970, 1, 1);
        f.storeItems({first, second, second, itemOn(Instant::unixEpoch, u"epoch"_s),
                      itemOn(instantAt(newYork, 1969, 12, 31, 8), u"morning"_s), itemOn(nextLocalDay, u"next"_s)});
        f.storage.values[TodoStore::itemsDefaultsKey] =
            f.storage.values[TodoStore::itemsDefaultsKey].toByteArray().chopped(1)
            + R"(,{"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","title":"Tea","isCompleted":true,)"
              R"("createdAt":786000000.5,"date":786085200,"colour":"red"}])";
        TodoStore &store = f.open();
        QCOMPARE(store.items().at(0), first);
        QCOMPARE(QSet<QUuid>({store.items().at(0).id, store.items().at(1).id, store.items().at(2).id}).size(), 3);
        QCOMPARE(store.items().at(3).date, december5);
        QCOMPARE(store.items().at(3).createdAt, Instant::unixEpoch + 60); // only the day moves
        QCOMPARE(store.items().at(4).date, december5);
        QCOMPARE(store.items().at(5).date, nextLocalDay);
        QCOMPARE(f.storage.writes, 1); // one write-back for all the repairs
        QCOMPARE(f.storedItems(), store.items());
        const QByteArray written = f.storage.values[TodoStore::itemsDefaultsKey].toByteArray();
        QVERIFY(written.contains("E621E1F8-C36C-495A-93FC-0C247A3E6E5F") && !written.contains("colour"));
        // Each row is now a to-do of its own.
        store.toggleCompletion(store.items().at(2));
        QVERIFY(!store.items().at(1).isCompleted && store.items().at(2).isCompleted);
    }

    void addsTrimmedTitlesAtTheTopOfTheSelectedDay()
    {
        StoreFixture f;
        TodoStore &store = f.open();
        store.addTodo(u" \t\n\u2028 "_s);
        store.addTodo(QString());
        QCOMPARE(f.storage.writes, 0);
        store.addTodo(u"  Buy milk \n"_s);
        store.addTodo(u"\u3000Call\u00a0mum\u0085"_s);
        store.addTodo(u"zero\u200b"_s); // a zero-width space is not white space
        QCOMPARE(titles(store.itemsForSelectedDate()),
                 (QStringList{u"zero\u200b"_s, u"Call\u00a0mum"_s, u"Buy milk"_s}));
        const TodoItem &newest = store.items().first();
        QCOMPARE(std::tuple(newest.date, newest.createdAt, newest.isCompleted), std::tuple(december5, f.now, false));
        QCOMPARE(newest.id.version(), QUuid::Random);
        QCOMPARE(f.storage.writes, 3);
        QCOMPARE(f.storedItems(), store.items());
        store.goToPreviousDay();
        store.addTodo(u"Yesterday's"_s);
        QCOMPARE(titles(store.itemsForSelectedDate()), QStringList{u"Yesterday's"_s});
        QCOMPARE(store.items().first().date, december4);

        // The draft: blank is what trimming leaves empty, and a zero-width
        // no-break space is no white space.
        store.setDraftText(u" \u2028\t"_s);
        QVERIFY(!store.canAddDraft() && !store.addDraft());
        QCOMPARE(store.draftText(), u" \u2028\t"_s);
        store.setDraftText(u"\ufeff"_s);
        QVERIFY(store.canAddDraft() && store.addDraft());
        QCOMPARE(store.draftText(), QString());
        QCOMPARE(store.items().first().title, u"\ufeff"_s);
    }

    void changesActOnTheStoredToDoById()
    {
        StoreFixture f;
        TodoStore &store = f.open();
        store.addTodo(u"A"_s);
        store.addTodo(u"B"_s);
        const int writes = f.storage.writes;

        // A stale copy still names the to-do by its id.
        TodoItem staleA = store.items().at(1);
        staleA.title = u"ignored"_s;
        store.toggleCompletion(staleA);
        QVERIFY(store.items().at(1).isCompleted);
        store.updateTitle(staleA, u"  A, renamed "_s);
        store.updateTitle(staleA, u" \n "_s);
        QCOMPARE(store.items().at(1).title, u"A, renamed"_s);
        QCOMPARE(f.storage.writes, writes + 2);

        // A to-do deleted meanwhile: nothing changes and nothing is saved.
        const TodoItem b = store.items().at(0);
        store.deleteTodo(b);
        const QList<TodoItem> before = store.items();
        const int writesBefore = f.storage.writes;
        QSignalSpy itemsChanged(&store, &TodoStore::itemsChanged);
        store.toggleCompletion(b);
        store.updateTitle(b, u"x"_s);
        store.deleteTodo(b);
        store.moveToToday(b);
        QCOMPARE(std::tuple(store.items(), f.storage.writes, itemsChanged.count()),
                 std::tuple(before, writesBefore, 0));
        store.undoLastDelete();
        store.undoLastDelete(); // one deletion recorded, not two
        QCOMPARE(store.items().size(), before.size() + 1);
    }

    // A day's to-dos keep the list's order, whatever zone their day was
    // stored in; one moved to today keeps its place.
    void theDaysToDosKeepTheirPlaceInTheList()
    {
        StoreFixture f;
        const double otherZoneMidnight = instantAt(QTimeZone("Europe/Berlin"), 2026, 12, 6); // 6 pm on the 5th here
        f.storeItems({itemOn(december5 + 3600, u"one"_s), itemOn(december4, u"old"_s),
                      itemOn(otherZoneMidnight, u"two"_s), itemOn(instantAt(newYork, 2026, 12, 6), u"y"_s),
                      itemOn(december5 + 86399.5, u"three"_s)});
        TodoStore &store = f.open();
        QCOMPARE(titles(store.itemsForSelectedDate()), (QStringList{u"one"_s, u"two"_s, u"three"_s}));
        QCOMPARE(store.items().at(2).date, otherZoneMidnight); // loaded unchanged
        store.goToPreviousDay();
        store.moveToToday(store.itemsForSelectedDate().value(0));
        QVERIFY(store.itemsForSelectedDate().isEmpty());
        store.goToNextDay();
        QCOMPARE(titles(store.itemsForSelectedDate()), (QStringList{u"one"_s, u"old"_s, u"two"_s, u"three"_s}));
        QCOMPARE(store.items().at(1).date, december5);
        QCOMPARE(f.storedItems(), store.items());
    }

    // Scripts over a list of titles (on today, or "/1" the day after):
    // -X deletes X, +X adds X on the day shown, u undoes, > and < step a day.
    void undoRestoresTheDaysDeletionsAtTheirPositions_data()
    {
        QTest::addColumn<QString>("items");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");
        // What the store said came, went (-) or came back (u), in order.
        QTest::addColumn<QString>("said");
        QTest::newRow("newest first") << u"A B C"_s << u"-C -A u"_s << u"A B"_s << u"-C -A uA"_s;
        QTest::newRow("all, as they were") << u"A B C"_s << u"-C -A u u u"_s << u"A B C"_s << u"-C -A uA uC"_s;
        // The position counts in the whole list and is not adjusted.
        QTest::newRow("position kept") << u"A B C"_s << u"-B +D u"_s << u"D B A C"_s << u"-B +D uB"_s;
        QTest::newRow("nothing of the day shown") << u"A B/1 C"_s << u"-C > u"_s << u"A B"_s << u"-C"_s;
        QTest::newRow("the day's own, clamped") << u"A B/1 C"_s << u"-C > -B < u u"_s << u"A C"_s << u"-C -B uC"_s;
        QTest::newRow("each on its day") << u"A B/1 C"_s << u"-C > -B < u > u"_s << u"A B C"_s << u"-C -B uC uB"_s;
        QStringList fiftyOne, deletions, restored;
        for (int i = 50; i >= 0; --i) {
            fiftyOne.append(QString::number(i));
            deletions.prepend(u"-"_s + fiftyOne.last());
            if (i > 0)
                restored.append(u"u"_s + fiftyOne.last());
        }
        QTest::newRow("the last fifty") << fiftyOne.join(u' ') << deletions.join(u' ') + QString(u" u"_s).repeated(60)
                                        << fiftyOne.mid(0, 50).join(u' ') << (deletions + restored).join(u' ');
    }
    void undoRestoresTheDaysDeletionsAtTheirPositions()
    {
        QFETCH(QString, items);
        QFETCH(QString, script);
        StoreFixture f;
        QList<TodoItem> stored;
        for (const QString &item : items.split(u' ')) {
            const auto [title, dayOffset] = std::pair{item.section(u'/', 0, 0), item.section(u'/', 1).toInt()};
            stored.append(itemOn(dayOffset ? instantAt(newYork, 2026, 12, 6) : december5, title));
        }
        f.storeItems(stored);
        TodoStore &store = f.open();
        QStringList said;
        connect(&store, &TodoStore::todoAdded, this, [&](const QString &title) { said.append(u'+' + title); });
        connect(&store, &TodoStore::todoDeleted, this, [&](const QString &title) { said.append(u'-' + title); });
        connect(&store, &TodoStore::deletionUndone, this, [&](const QString &title) { said.append(u'u' + title); });
        for (const QString &step : script.split(u' ')) {
            if (step == u"u"_s)
                store.undoLastDelete();
            else
                store.shiftSelectedDate(step == u">"_s ? 1 : step == u"<"_s ? -1 : 0);
            for (const TodoItem &item : store.items()) {
                if (step == u'-' + item.title) {
                    store.deleteTodo(item);
                    break;
                }
            }
            if (step.startsWith(u'+'))
                store.addTodo(step.mid(1));
        }
        QTEST(titles(store.items()).join(u' '), "expected");
        QTEST(said.join(u' '), "said");
        if (titles(store.items()).join(u' ') == items)
            QCOMPARE(store.items(), stored); // every field as it was
        QCOMPARE(f.storedItems(), store.items());
    }

    // Today ends at the next midnight also on the days of 23 and 25 hours:
    // the label turns to "Yesterday" there, and not an hour early or late.
    void todayEndsAtTheNextMidnightOnShortAndLongDays_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<double>("hours");
        QTest::newRow("23 hours") << 3 << 8 << 23.0;
        QTest::newRow("25 hours") << 11 << 1 << 25.0;
    }
    void todayEndsAtTheNextMidnightOnShortAndLongDays()
    {
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(double, hours);
        StoreFixture f;
        const double start = instantAt(newYork, 2026, month, day);
        f.now = start + 12 * 3600;
        TodoStore &store = f.open();
        const double end = store.endOfToday().value();
        QCOMPARE((end - start) / 3600, hours);
        QSignalSpy today(&store, &TodoStore::todayChanged);
        f.now = end - 0.001;
        store.refreshToday();
        QCOMPARE(today.count(), 0);
        QVERIFY(store.selectedDateLabel().startsWith(u"Today,"_s));
        f.now = end;
        store.refreshToday();
        QCOMPARE(today.count(), 1);
        QVERIFY2(store.selectedDateLabel().startsWith(u"Yesterday,"_s), qPrintable(store.selectedDateLabel()));
        QCOMPARE(store.endOfToday(), sharedCalendar().addingDays(end, 1));
    }

    // Each field notifies on its own, and only when it changes; the day
    // shown stays when midnight passes, and days stay in the time zone of
    // the first use when the machine's zone changes.
    void notifiesEachFieldOnItsOwnAndKeepsTheDayShown()
    {
        StoreFixture f;
        TodoStore &store = f.open();
        QSignalSpy items(&store, &TodoStore::itemsChanged);
        QSignalSpy draft(&store, &TodoStore::draftTextChanged);
        QSignalSpy date(&store, &TodoStore::selectedDateChanged);
        QSignalSpy label(&store, &TodoStore::selectedDateLabelChanged);
        QSignalSpy today(&store, &TodoStore::todayChanged);
        const auto counts = [&] { return QList<qsizetype>{items.count(), draft.count(), date.count()}; };
        store.setDraftText(u"typing"_s);
        store.setDraftText(u"typing"_s);
        QCOMPARE(counts(), (QList<qsizetype>{0, 1, 0}));
        store.addTodo(u"x"_s);
        QCOMPARE(counts(), (QList<qsizetype>{1, 1, 0}));
        QCOMPARE(store.draftText(), u"typing"_s); // the store never touches the draft
        store.goToNextDay();
        store.shiftSelectedDate(0);
        store.goToPreviousDay();
        store.deleteTodo(store.items().first());
        QCOMPARE(counts(), (QList<qsizetype>{2, 1, 2}));
        // An equal list notifies nobody but is still saved.
        const int writes = f.storage.writes;
        store.setItems(store.items());
        QCOMPARE(std::pair(items.count(), f.storage.writes), std::pair(qsizetype(2), writes + 1));

        date.clear();
        label.clear();
        store.refreshToday();
        QCOMPARE(today.count(), 0);
        f.now = instantAt(newYork, 2026, 12, 6, 0, 5);
        QCOMPARE(store.selectedDate(), december5);
        QCOMPARE(store.selectedDateLabel(), u"Yesterday, Dec 5"_s);
        // Those who show the label learn of the new day when the clock is read.
        QCOMPARE(label.count(), 0);
        store.refreshToday();
        store.refreshToday();
        QCOMPARE(today.count(), 1);
        QCOMPARE(label.count(), 1);
        QCOMPARE(store.endOfToday(), instantAt(newYork, 2026, 12, 7));
        QCOMPARE(date.count(), 0);
        // Moving to today now means the 6th, in New York even after the
        // machine moved to Tokyo.
        const QByteArray oldZone = qgetenv("TZ");
        qputenv("TZ", "Asia/Tokyo");
        tzset();
        store.addTodo(u"late"_s);
        store.moveToToday(store.items().first());
        QCOMPARE(store.items().first().date, instantAt(newYork, 2026, 12, 6));
        QCOMPARE(sharedCalendar().timeZone().id(), QByteArray("America/New_York"));
        store.goToNextDay();
        QCOMPARE(titles(store.itemsForSelectedDate()), QStringList{u"late"_s});
        qputenv("TZ", oldZone);
        tzset();
    }
};

QTEST_GUILESS_MAIN(TodoStoreTest)
#include "todo_store_test.moc"
