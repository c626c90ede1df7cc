// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

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
const QString sectionLetters = u"NDLI"_s; // NoSection, Date, List, Input

// The keyboard over a store in memory, with no window: focus moves only as
// the state says. Today shows A, B, C (newest first); D, deleted last, is
// there to undo; x lies on the day before.
struct Keys {
    MemoryTodoStorage::Contents storage;
    TodoStore store{std::make_unique<MemoryTodoStorage>(&storage)};
    PanelFocusState focus;
    PanelKeyboard keyboard;

    Keys()
    {
        const double today = sharedCalendar().startOfDay(store.now()).value();
        QList<TodoItem> items;
        for (const QString &title : {u"A"_s, u"B"_s, u"C"_s, u"D"_s})
            items.append(TodoItem{QUuid::createUuid(), title, false, today, today});
        items.append(
            TodoItem{QUuid::createUuid(), u"x"_s, false, today, sharedCalendar().addingDays(today, -1).value()});
        store.setItems(items);
        store.deleteTodo(store.items().at(3));
        keyboard.setFocusState(&focus);
        keyboard.setStore(&store);
    }

    QString idOf(const QString &title) const
    {
        const auto it = std::find_if(store.items().begin(), store.items().end(),
                                     [&](const TodoItem &item) { return item.title == title; });
        return it == store.items().end() ? QString() : it->id.toString();
    }
    // "L-": the section's letter, then the selected title ('-' for none).
    void setState(const QString &state)
    {
        focus.setFocusedSection(Section(sectionLetters.indexOf(state[0])));
        focus.setSelectedItemID(state[1] == u'-' ? QString() : idOf(state[1]));
        if (state.endsWith(u'e'))
            focus.setEditingItemID(idOf(state[1]));
    }
    // As setState, then the day's titles, those completed in lower case.
    QString state() const
    {
        QString selected = u"-"_s;
        QString day;
        for (const TodoItem &item : store.items()) {
            if (item.id.toString() == focus.selectedItemID())
                selected = item.title;
        }
        for (const TodoItem &item : store.itemsForSelectedDate())
            day += item.isCompleted ? item.title.toLower() : item.title;
        return sectionLetters[int(focus.focusedSection())] + selected + u' ' + day;
    }
};

void addKey(const char *name, const char *element, int key, int modifiers, bool repeat, const char *before,
            const char *after, bool handled, const QString &text = {})
{
    QTest::newRow(name) << QString::fromLatin1(element) << key << modifiers << text << repeat
                        << QString::fromLatin1(before) << QString::fromLatin1(after) << handled;
}

} // namespace

class PanelKeyboardTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachElementTakesItsKeys_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QString>("before"); // section, selection, 'e' while that row is edited
        QTest::addColumn<QString>("after");  // section, selection, the day's titles
        QTest::addColumn<bool>("handled");
        const int ctrl = Qt::ControlModifier;
        const int shift = Qt::ShiftModifier;

        addKey("Tab from the add field", "view", Qt::Key_Tab, 0, false, "I-", "D- ABC", true);
        addKey("Tab from nowhere", "view", Qt::Key_Tab, 0, false, "N-", "D- ABC", true);
        addKey("Tab from the header: the first row", "view", Qt::Key_Tab, 0, false, "DC", "LA ABC", true);
        addKey("Shift+Tab steps the same way", "view", Qt::Key_Backtab, shift, false, "DC", "LA ABC", true);
        addKey("held Tab from the list", "view", Qt::Key_Tab, 0, true, "LB", "I- ABC", true);
        addKey("Escape closes the panel", "view", Qt::Key_Escape, 0, false, "I-", "I- ABC closes", true);
        addKey("a held Escape does not", "view", Qt::Key_Escape, 0, true, "I-", "I- ABC", false);
        addKey("Down goes on from the view", "view", Qt::Key_Down, 0, false, "I-", "I- ABC", false);
        addKey("Left", "header", Qt::Key_Left, 0, false, "D-", "D- x", true);
        addKey("held Right", "header", Qt::Key_Right, 0, true, "D-", "D- ", true);
        addKey("Ctrl+Z in the header", "header", Qt::Key_Z, ctrl, false, "D-", "D- ABCD", true);
        addKey("held Ctrl+Z in the header", "header", Qt::Key_Z, ctrl, true, "D-", "D- ABC", false);
        addKey("Escape goes on from the header", "header", Qt::Key_Escape, 0, false, "D-", "D- ABC", false);
        addKey("Z in the placeholder", "placeholder", Qt::Key_Z, 0, false, "L-", "L- ABC", false);
        addKey("held Ctrl+Z in the placeholder", "placeholder", Qt::Key_Z, ctrl, true, "L-", "L- ABC", false);
        addKey("Ctrl+Shift+Z in the placeholder", "placeholder", Qt::Key_Z, ctrl | shift, false, "L-", "L- ABCD", true);
        addKey("Up selects the last", "list", Qt::Key_Up, 0, false, "L-", "LC ABC", true);
        addKey("Down selects the first", "list", Qt::Key_Down, 0, false, "L-", "LA ABC", true);
        addKey("Shift+Down", "list", Qt::Key_Down, shift, false, "L-", "LA ABC", true);
        addKey("Up stops at the top", "list", Qt::Key_Up, 0, false, "LA", "LA ABC", true);
        addKey("Down stops at the bottom", "list", Qt::Key_Down, 0, false, "LC", "LC ABC", true);
        addKey("Down from another day's row", "list", Qt::Key_Down, 0, false, "Lx", "LA ABC", true);
        addKey("held Down", "list", Qt::Key_Down, 0, true, "LA", "LA ABC", false);
        addKey("Return toggles", "list", Qt::Key_Return, 0, false, "LB", "LB AbC", true);
        addKey("Enter toggles", "list", Qt::Key_Enter, 0, false, "LB", "LB AbC", true);
        addKey("Space toggles", "list", Qt::Key_Space, 0, false, "LB", "LB AbC", true);
        addKey("Return on another day's row", "list", Qt::Key_Return, 0, false, "Lx", "Lx ABC", true);
        addKey("Escape deselects", "list", Qt::Key_Escape, 0, false, "LB", "L- ABC", true);
        addKey("Shift+Escape deselects", "list", Qt::Key_Escape, shift, false, "LB", "L- ABC", true);
        addKey("Ctrl+N keeps the selection", "list", Qt::Key_N, ctrl, false, "LB", "IB ABC", true);
        addKey("N goes on", "list", Qt::Key_N, 0, false, "LB", "LB ABC", false);
        addKey("a letter goes on", "list", Qt::Key_A, 0, false, "LB", "LB ABC", false, u"a"_s);
        addKey("Ctrl+Z in the list", "list", Qt::Key_Z, ctrl, false, "LB", "LB ABCD", true);
        addKey("Backspace selects the row below", "list", Qt::Key_Backspace, 0, false, "LB", "LC AC", true, u"\b"_s);
        addKey("Backspace on the last row", "list", Qt::Key_Backspace, 0, false, "LC", "LB AB", true);
        addKey("Delete", "list", Qt::Key_Delete, 0, false, "LA", "LB BC", true, u"\x7f"_s);
        addKey("Ctrl+Backspace, no text", "list", Qt::Key_Backspace, ctrl, false, "LB", "LC AC", true);
        addKey("Backspace on another day's row", "list", Qt::Key_Backspace, 0, false, "Lx", "Lx ABC", true);
        addKey("held Delete", "list", Qt::Key_Delete, 0, true, "LB", "LB ABC", false);
        // While a row is edited in place, the list takes no key at all.
        for (const int key : {Qt::Key_Up, Qt::Key_Return, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Backspace})
            addKey(qPrintable(u"editing, key %1"_s.arg(key)), "list", key, 0, false, "LAe", "LA ABC", false);
        addKey("editing, Ctrl+N", "list", Qt::Key_N, ctrl, false, "LAe", "LA ABC", false);
        addKey("editing, Ctrl+Z", "list", Qt::Key_Z, ctrl, false, "LAe", "LA ABC", false);
    }

    void eachElementTakesItsKeys()
    {
        QFETCH(QString, element);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(bool, repeat);
        QFETCH(QString, before);
        Keys keys;
        keys.setState(before);
        QSignalSpy close(&keys.keyboard, &PanelKeyboard::closeRequested);
        const QByteArray handler = element.toLatin1() + "KeyPressed";
        bool handled = false;
        QVERIFY(QMetaObject::invokeMethod(&keys.keyboard, handler.constData(), Q_RETURN_ARG(bool, handled),
                                          Q_ARG(int, key), Q_ARG(int, modifiers), Q_ARG(QString, text),
                                          Q_ARG(bool, repeat)));
        QTEST(handled, "handled");
        QTEST(keys.state() + (close.isEmpty() ? QString() : u" closes"_s), "after");
        QCOMPARE(keys.focus.dateFocusedViaTab(), element == u"view"_s && keys.focus.focusedSection() == Section::Date);
    }

    void deletingTheOnlyRowHandsTheListsSectionToThePlaceholderNextTurn()
    {
        Keys keys;
        keys.store.goToPreviousDay();
        keys.setState(u"Lx"_s);
        QSignalSpy sections(&keys.focus, &PanelFocusState::focusedSectionChanged);
        QVERIFY(keys.keyboard.listKeyPressed(Qt::Key_Delete, 0, {}, false));
        QCOMPARE(keys.state(), u"N- "_s);
        // Even if the focus moved meanwhile; the empty day's list takes its keys.
        keys.focus.setFocusedSection(Section::Input);
        QTRY_COMPARE(keys.focus.focusedSection(), Section::List);
        QCOMPARE(sections.size(), 3);
        QVERIFY(keys.keyboard.listKeyPressed(Qt::Key_Down, 0, {}, false));
        QVERIFY(keys.keyboard.listKeyPressed(Qt::Key_Return, 0, {}, false));
        // Tab from the header of an empty day goes straight to the add field.
        keys.setState(u"D-"_s);
        keys.keyboard.viewKeyPressed(Qt::Key_Tab, 0, {}, false);
        QCOMPARE(keys.state(), u"I- "_s);
    }
};

QTEST_MAIN(PanelKeyboardTest)
#include "panel_keyboard_test.moc"
