#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "views/panel_focus_state.h"
#include "views/panel_keyboard.h"

#include "storage/memory_todo_storage.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Section = PanelFocusState::ActiveSection;

// The keyboard over a store in memory, with no window: focus moves only as
// the state says.
struct Keys {
    MemoryTodoStorage::Contents storage;
    std::unique_ptr<TodoStore> store;
    PanelFocusState focus;
    PanelKeyboard keyboard;

    // Titles of to-dos of today, in the day's order (newest first).
    explicit Keys(const QStringList &titles = {})
    {
        store = std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(&storage));
        const double today = sharedCalendar().startOfDay(store->now()).value();
        QList<TodoItem> items;
        for (qsizetype i = 0; i < titles.size(); ++i)
            items.append(TodoItem{QUuid::createUuid(), titles[i], false, today + double(titles.size() - i), today});
        store->setItems(items);
        keyboard.setFocusState(&focus);
        keyboard.setStore(store.get());
    }

    QString idOf(const QString &title) const
    {
        for (const TodoItem &item : store->items()) {
            if (item.title == title)
                return item.id.toString();
        }
        return {};
    }
    QString selectedTitle() const
    {
        for (const TodoItem &item : store->items()) {
            if (item.id.toString() == focus.selectedItemID())
                return item.title;
        }
        return focus.selectedItemID().isEmpty() ? QString() : u"<stale>"_s;
    }
    QStringList dayTitles() const
    {
        QStringList titles;
        for (const TodoItem &item : store->itemsForSelectedDate())
            titles.append(item.title);
        return titles;
    }
    bool isCompleted(const QString &title) const
    {
        for (const TodoItem &item : store->items()) {
            if (item.title == title)
                return item.isCompleted;
        }
        return false;
    }

    bool view(int key, Qt::KeyboardModifiers mods = {}) { return keyboard.viewKeyPressed(key, int(mods), {}, false); }
    bool header(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false) { return keyboard.headerKeyPressed(key, int(mods), {}, repeat); }
    bool list(int key, Qt::KeyboardModifiers mods = {}, const QString &text = {}, bool repeat = false)
    {
        return keyboard.listKeyPressed(key, int(mods), text, repeat);
    }
    bool placeholder(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false) { return keyboard.placeholderKeyPressed(key, int(mods), {}, repeat); }
};

} // namespace

class PanelKeyboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tabCyclesThroughHeaderListAndAddField()
    {
        Keys keys({u"Newest"_s, u"Oldest"_s});
        QVERIFY(keys.view(Qt::Key_Tab));
        QCOMPARE(keys.focus.focusedSection(), Section::Date);
        QVERIFY(keys.focus.dateFocusedViaTab());
        // Into the list: the first row, whatever was selected before.
        keys.focus.setSelectedItemID(keys.idOf(u"Oldest"_s));
        keys.view(Qt::Key_Tab);
        QCOMPARE(keys.focus.focusedSection(), Section::List);
        QCOMPARE(keys.selectedTitle(), u"Newest"_s);
        QVERIFY(!keys.focus.dateFocusedViaTab());
        keys.view(Qt::Key_Tab);
        QCOMPARE(keys.focus.focusedSection(), Section::Input);
        QCOMPARE(keys.focus.selectedItemID(), QString());
        QVERIFY(!keys.view(Qt::Key_Down));

        // A day without to-dos: the header goes straight to the add field.
        keys.view(Qt::Key_Tab);
        keys.store->goToNextDay();
        keys.view(Qt::Key_Tab);
        QCOMPARE(keys.focus.focusedSection(), Section::Input);
        QCOMPARE(keys.focus.selectedItemID(), QString());
    }

    void upAndDownStopAtTheEdgesAndTreatAStaleSelectionAsNone()
    {
        Keys keys({u"A"_s, u"B"_s, u"C"_s});
        keys.focus.setFocusedSection(Section::List);
        QVERIFY(keys.list(Qt::Key_Up));
        QCOMPARE(keys.selectedTitle(), u"C"_s);
        keys.list(Qt::Key_Down);
        QCOMPARE(keys.selectedTitle(), u"C"_s);
        keys.focus.setSelectedItemID({});
        keys.list(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(keys.selectedTitle(), u"A"_s);
        keys.list(Qt::Key_Up);
        QCOMPARE(keys.selectedTitle(), u"A"_s);

        // Another day: the old selection matches no row. Return, Space and
        // the delete keys do nothing but are still taken; Up selects the last.
        keys.store->goToPreviousDay();
        keys.store->addTodo(u"X"_s);
        keys.store->addTodo(u"Y"_s);
        const QString stale = keys.focus.selectedItemID();
        const int writes = keys.storage.writes;
        QVERIFY(keys.list(Qt::Key_Return));
        QVERIFY(keys.list(Qt::Key_Space));
        QVERIFY(keys.list(Qt::Key_Backspace, {}, u"\b"_s));
        QCOMPARE(keys.storage.writes, writes);
        QCOMPARE(keys.focus.selectedItemID(), stale);
        keys.list(Qt::Key_Up);
        QCOMPARE(keys.selectedTitle(), u"X"_s);

        // An empty day: taken all the same; keys of no meaning go on.
        keys.store->goToPreviousDay();
        QVERIFY(keys.list(Qt::Key_Down));
        QVERIFY(keys.list(Qt::Key_Escape));
        QCOMPARE(keys.focus.selectedItemID(), QString());
        QVERIFY(!keys.list(Qt::Key_A, {}, u"a"_s));
        QVERIFY(!keys.list(Qt::Key_N));
    }

    void returnTogglesEscapeDeselectsAndCtrlNKeepsTheSelection()
    {
        Keys keys({u"A"_s, u"B"_s});
        keys.focus.setFocusedSection(Section::List);
        keys.list(Qt::Key_Up);
        QVERIFY(keys.list(Qt::Key_Enter));
        QVERIFY(keys.isCompleted(u"B"_s));
        QVERIFY(!keys.isCompleted(u"A"_s));
        QVERIFY(keys.list(Qt::Key_N, Qt::ControlModifier));
        QCOMPARE(keys.focus.focusedSection(), Section::Input);
        QCOMPARE(keys.selectedTitle(), u"B"_s);
        keys.focus.setFocusedSection(Section::List);
        keys.list(Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(keys.focus.selectedItemID(), QString());
        QCOMPARE(keys.focus.focusedSection(), Section::List);
    }

    void escapeClosesThePanelWhereTheListDoesNotTakeIt()
    {
        Keys keys({u"A"_s});
        QSignalSpy close(&keys.keyboard, &PanelKeyboard::closeRequested);
        // The list clears its selection; the header passes Escape on to the
        // whole view, which closes, but not for the repeats of a held key.
        QVERIFY(keys.list(Qt::Key_Escape));
        QVERIFY(!keys.header(Qt::Key_Escape));
        QVERIFY(!keys.keyboard.viewKeyPressed(Qt::Key_Escape, 0, {}, true));
        QCOMPARE(close.count(), 0);
        QVERIFY(keys.view(Qt::Key_Escape));
        QCOMPARE(close.count(), 1);
    }

    void deletingSelectsTheNeighbourAndUndoRestoresFromEveryElement()
    {
        Keys keys({u"A"_s, u"B"_s, u"C"_s, u"D"_s});
        keys.focus.setFocusedSection(Section::List);
        keys.list(Qt::Key_Down);
        keys.list(Qt::Key_Down);
        // The middle row: the one below moves up and is selected.
        QVERIFY(keys.list(Qt::Key_Backspace, {}, u"\b"_s));
        QCOMPARE(keys.dayTitles(), (QStringList{u"A"_s, u"C"_s, u"D"_s}));
        QCOMPARE(keys.selectedTitle(), u"C"_s);
        // The last row: the new last one. Forward delete, by its text alone.
        keys.list(Qt::Key_Down);
        QVERIFY(keys.list(Qt::Key_unknown, {}, QString(QChar(0xf728))));
        QCOMPARE(keys.selectedTitle(), u"C"_s);
        keys.list(Qt::Key_Delete, {}, u"\x7f"_s);
        QCOMPARE(keys.selectedTitle(), u"A"_s);

        // The only row (Ctrl+Backspace produces no text): no selection, no
        // section, then the list's section one turn of the event loop later.
        QSignalSpy sections(&keys.focus, &PanelFocusState::focusedSectionChanged);
        keys.list(Qt::Key_Backspace, Qt::ControlModifier);
        QVERIFY(keys.dayTitles().isEmpty());
        QCOMPARE(keys.focus.selectedItemID(), QString());
        QCOMPARE(keys.focus.focusedSection(), Section::NoSection);
        QTRY_COMPARE(keys.focus.focusedSection(), Section::List);
        QCOMPARE(sections.size(), 2);

        // Ctrl+Z, initial presses only, from the placeholder, the list and
        // the header: the newest deletions of the day, unselected.
        QVERIFY(!keys.placeholder(Qt::Key_Z));
        QVERIFY(!keys.placeholder(Qt::Key_Z, Qt::ControlModifier, true));
        QVERIFY(keys.placeholder(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
        QVERIFY(keys.list(Qt::Key_Z, Qt::ControlModifier));
        QVERIFY(keys.header(Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(keys.dayTitles(), (QStringList{u"A"_s, u"C"_s, u"D"_s}));
        QCOMPARE(keys.focus.selectedItemID(), QString());
        // Nothing of another day to undo: the key is still taken.
        keys.store->goToNextDay();
        QVERIFY(keys.list(Qt::Key_Z, Qt::ControlModifier));
    }

    void theFocusReturnsToTheListEvenIfItMovedBeforeTheNextTurn()
    {
        Keys keys({u"Only"_s});
        keys.focus.setFocusedSection(Section::List);
        keys.list(Qt::Key_Down);
        keys.list(Qt::Key_Delete);
        keys.focus.setFocusedSection(Section::Input);
        QTRY_COMPARE(keys.focus.focusedSection(), Section::List);
    }

    void theListStandsAsideWhileARowIsEdited()
    {
        Keys keys({u"A"_s, u"B"_s});
        keys.focus.setFocusedSection(Section::List);
        keys.list(Qt::Key_Down);
        keys.focus.setEditingItemID(keys.idOf(u"A"_s));
        keys.store->deleteTodo(keys.store->items().last());
        for (const int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Backspace})
            QVERIFY(!keys.list(key));
        QVERIFY(!keys.list(Qt::Key_N, Qt::ControlModifier));
        QVERIFY(!keys.list(Qt::Key_Z, Qt::ControlModifier));
        QCOMPARE(keys.selectedTitle(), u"A"_s);
        QCOMPARE(keys.focus.focusedSection(), Section::List);
        QCOMPARE(keys.dayTitles(), (QStringList{u"A"_s}));
        QVERIFY(!keys.isCompleted(u"A"_s));
    }
};

QTEST_MAIN(PanelKeyboardTest)
#include "panel_keyboard_test.moc"
