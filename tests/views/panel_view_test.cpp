#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "notch/notch_animation_state.h"
#include "views/day_todo_list_model.h"
#include "views/panel_focus_state.h"
#include "views/today_watcher.h"

#include "storage/memory_todo_storage.h"

#include <QCoreApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickTextDocument>
#include <QTextDocument>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Items of that object name in the visual tree below `root` (list delegates
// have no QObject parent, so findChildren misses them).
QList<QQuickItem *> itemsNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    const QList<QQuickItem *> children = root->childItems();
    for (QQuickItem *child : children) {
        if (child->objectName() == name)
            found.append(child);
        found.append(itemsNamed(child, name));
    }
    return found;
}

// The panel's root view hosted as the panel window hosts it, over a store
// kept in memory, with real mouse and key events sent to the window.
struct Panel {
    MemoryTodoStorage::Contents storage;
    // Seconds added to the real clock.
    double clockShift = 0;
    std::unique_ptr<TodoStore> store;
    NotchAnimationState state;
    QQuickView view;

    // Titles of to-dos on the day `dayOffset` days from today, newest last.
    explicit Panel(const QStringList &titles = {}, int dayOffset = 0)
    {
        store = std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(&storage),
                                            [this] { return Instant::now() + clockShift; });
        const double today = sharedCalendar().startOfDay(store->now()).value();
        const double day = sharedCalendar().addingDays(today, dayOffset).value();
        QList<TodoItem> items;
        for (qsizetype i = 0; i < titles.size(); ++i)
            items.prepend(TodoItem{QUuid::createUuid(), titles[i], false, day + double(i), day});
        store->setItems(items);
        store->shiftSelectedDate(dayOffset);

        view.engine()->addImportPath(u"qrc:/"_s);
        view.setInitialProperties({{u"store"_s, QVariant::fromValue(store.get())}, {u"animationState"_s, QVariant::fromValue(&state)}});
        view.setSource(QUrl(u"qrc:/tools/PanelHost.qml"_s));
        view.show();
    }

    QQuickItem *container() const { return view.rootObject()->findChild<QQuickItem *>(u"panelContainer"_s); }
    QQuickItem *body() const { return view.rootObject()->findChild<QQuickItem *>(u"panelBody"_s); }
    QQuickItem *list() const { return container()->property("todoList").value<QQuickItem *>(); }
    PanelFocusState *focus() const { return list()->property("focusState").value<PanelFocusState *>(); }

    // The first visible item of that name (below `under`, or anywhere in the list).
    QQuickItem *find(const QString &name, QQuickItem *under = nullptr) const
    {
        for (QQuickItem *item : itemsNamed(under ? under : list(), name)) {
            if (item->isVisible())
                return item;
        }
        return nullptr;
    }
    QString selectedTitle() const
    {
        for (const TodoItem &item : store->items()) {
            if (item.id.toString() == focus()->selectedItemID())
                return item.title;
        }
        return {};
    }
    QStringList dayTitles() const
    {
        QStringList titles;
        for (const TodoItem &item : store->itemsForSelectedDate())
            titles.append(item.title);
        return titles;
    }
    // The alpha of a row's fill, in hundredths.
    int fillOf(const QString &title) const
    {
        return qRound(find(u"rowFill"_s, row(title))->property("color").value<QColor>().alphaF() * 100);
    }
    QQuickItem *titleText(const QString &title) const
    {
        for (QQuickItem *item : itemsNamed(list(), u"titleText"_s)) {
            if (item->isVisible() && item->property("text").toString() == title && item->opacity() > 0)
                return item;
        }
        return nullptr;
    }
    // The row (delegate) that shows the title.
    QQuickItem *row(const QString &title) const
    {
        QQuickItem *text = titleText(title);
        return text ? text->parentItem()->parentItem() : nullptr;
    }
    // The placeholder shows with its 100-point height.
    bool placeholderShown() const { return find(u"placeholder"_s)->height() == 100; }
    const TodoItem *stored(const QString &title) const
    {
        for (const TodoItem &item : store->items()) {
            if (item.title == title)
                return &item;
        }
        return nullptr;
    }

    static QPoint centre(QQuickItem *item) { return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint(); }
    void click(QQuickItem *item) { QTest::mouseClick(&view, Qt::LeftButton, {}, centre(item)); }
    void hover(QQuickItem *item) { QTest::mouseMove(&view, centre(item)); }

    bool open()
    {
        state.setOpen(true);
        return QTest::qWaitFor([this] { return body()->width() == 340 && list(); }, 10000);
    }
};

// Qt Test has no keyClicks for windows.
void type(QWindow *window, const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(window, c.toLatin1());
}

// A key held down: the press, `repeats` auto-repeated presses, the release.
void hold(QWindow *window, Qt::Key key, int repeats)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    for (int i = 0; i < repeats; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
        QCoreApplication::sendEvent(window, &repeat);
    }
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

} // namespace

class PanelViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensFromTheNotchAndReportsHoverFromTheBodyOnly()
    {
        Panel panel({u"Buy milk"_s});
        QVERIFY(QTest::qWaitForWindowExposed(&panel.view));
        QQuickItem *body = panel.body();
        QQuickItem *border = panel.container()->findChild<QQuickItem *>(u"panelBorder"_s);
        QCOMPARE(body->width(), 200.0);
        QCOMPARE(body->height(), 0.0);
        QCOMPARE(border->opacity(), 0.0);
        QVERIFY(!panel.list());
        // Centred at the top of the 380-wide window.
        QCOMPARE(body->mapToScene(QPointF(0, 0)), QPointF(90, 0));

        QVERIFY(panel.open());
        QTRY_COMPARE(border->opacity(), 1.0);
        QCOMPARE(body->mapToScene(QPointF(0, 0)), QPointF(20, 0));
        QVERIFY(body->height() > 100);
        QVERIFY(panel.find(u"dayLabel"_s)->property("text").toString().startsWith(panel.store->selectedDateLabel()));

        // Hover comes from the body, not from the rest of the window.
        QVERIFY(!panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, QPoint(10, 10));
        QVERIFY(!panel.state.mouseInPanel());
        QSignalSpy hoverChanges(&panel.state, &NotchAnimationState::mouseInPanelChanged);
        QTest::mouseMove(&panel.view, QPoint(190, 30));
        QTRY_VERIFY(panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, QPoint(200, 90));
        QTest::mouseMove(&panel.view, QPoint(100, 60));
        QTest::mouseMove(&panel.view, QPoint(190, 510));
        QTRY_VERIFY(!panel.state.mouseInPanel());
        QCOMPARE(hoverChanges.size(), 2);

        // A body that shrinks away from a resting pointer keeps it: someone
        // typing with the pointer on the add field adds the day's first
        // to-do, the placeholder gives way to one short row, and the panel
        // must not close under them. Moving the pointer then leaves it.
        panel.store->deleteTodo(panel.store->items().first()); // the placeholder, 100 high
        QQuickItem *field = panel.find(u"addField"_s);
        QVERIFY(field);
        QTRY_VERIFY(!panel.list() || panel.store->itemsForSelectedDate().isEmpty());
        QTRY_VERIFY(qAbs(field->mapToScene(QPointF(0, 0)).y() - body->height()) < 60); // settled
        const QPoint onField = field->mapToScene(QPointF(field->width() / 2, field->height() / 2)).toPoint();
        QTest::mouseMove(&panel.view, onField);
        QTRY_VERIFY(panel.state.mouseInPanel());
        const double tallBody = body->height();
        panel.store->addTodo(u"First of the day"_s);
        QTRY_VERIFY(body->height() < tallBody - 20);
        QVERIFY(!body->contains(body->mapFromScene(onField)));
        QVERIFY(panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, onField + QPoint(0, 3));
        QTRY_VERIFY(!panel.state.mouseInPanel());
        // And a body that grows under a resting pointer has been entered.
        panel.store->deleteTodo(panel.store->items().first());
        QTRY_VERIFY(panel.state.mouseInPanel());

        // Closing: the list goes, the body springs back into the notch.
        panel.state.setOpen(false);
        QTRY_VERIFY(!panel.list());
        QTRY_VERIFY(body->width() < 300);
        // Reopened mid-way: it carries on from what is on screen, no more
        // than a frame's motion on.
        const double width = body->width();
        panel.state.setOpen(true);
        QVERIFY(qAbs(body->width() - width) < 20);
        QTRY_COMPARE(body->width(), 340.0);
        QVERIFY(panel.list());
        panel.state.setOpen(false);
        QTRY_COMPARE(body->width(), 200.0);
        QTRY_COMPARE(body->height(), 0.0);
        QCOMPARE(border->opacity(), 0.0);
    }

    void addsThroughTheFieldAndShowsTitlesAsTyped()
    {
        Panel panel;
        QVERIFY(panel.open());
        QCOMPARE(panel.find(u"placeholderTitle"_s)->property("text").toString(), u"All clear!"_s);
        QQuickItem *field = panel.find(u"addField"_s);
        QCOMPARE(field->property("placeholderText").toString(), u"Add a to-do..."_s);
        // Placeholder and typed text start at one x, the field's edge.
        QQuickItem *placeholder = nullptr;
        for (QQuickItem *child : field->childItems()) {
            if (child->property("text") == field->property("placeholderText"))
                placeholder = child;
        }
        const auto fieldX = [&] { return field->parentItem()->parentItem()->mapToScene({}).x(); };
        QVERIFY(placeholder->isVisible());
        QCOMPARE(placeholder->mapToScene({}).x(), fieldX());
        panel.click(field);
        QTRY_VERIFY(field->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::Input);
        QCOMPARE(field->mapToScene(field->property("cursorRectangle").toRectF().topLeft()).x(), fieldX());

        // Blanks: Return does nothing and keeps them.
        type(&panel.view, u"   "_s);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QVERIFY(panel.store->items().isEmpty());
        QCOMPARE(panel.store->draftText(), u"   "_s);

        type(&panel.view, u"Buy bread  "_s);
        QCOMPARE(panel.store->draftText(), u"   Buy bread  "_s);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QCOMPARE(panel.store->items().size(), 1);
        QCOMPARE(panel.store->items().first().title, u"Buy bread"_s);
        QCOMPARE(panel.store->draftText(), QString());
        QCOMPARE(field->property("text").toString(), QString());
        QVERIFY(field->hasActiveFocus());
        QVERIFY(placeholder->isVisible());
        QCOMPARE(placeholder->mapToScene({}).x(), fieldX());
        QTRY_VERIFY(panel.titleText(u"Buy bread"_s));
        QVERIFY(!panel.placeholderShown());

        const QString markup = u"<b>milk</b> & <i>eggs</i>"_s;
        type(&panel.view, markup);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QTRY_VERIFY(panel.titleText(markup));
        QQuickItem *title = panel.titleText(markup);
        QCOMPARE(title->property("textFormat").toInt(), 0 /* Text.PlainText */);
        // Shown as typed: as wide as the plain characters, tags included.
        QQuickItem *plain = panel.titleText(u"Buy bread"_s);
        QVERIFY(title->property("contentWidth").toDouble() > 2 * plain->property("contentWidth").toDouble());

        // The draft is the store's: it survives closing and reopening.
        type(&panel.view, u"half typed"_s);
        panel.state.setOpen(false);
        QTRY_VERIFY(!panel.list());
        QVERIFY(panel.open());
        field = panel.find(u"addField"_s);
        QCOMPARE(field->property("text").toString(), u"half typed"_s);
        // Taken up again where it ends.
        panel.focus()->setFocusedSection(PanelFocusState::Input);
        QCOMPARE(field->property("cursorPosition").toInt(), 10);

        // A paste keeps what fits, and the text around it; the field never
        // holds more (it lays out all it holds).
        field->setProperty("cursorPosition", 4);
        QTextDocument *document = field->property("textDocument").value<QQuickTextDocument *>()->textDocument();
        int longest = 0;
        connect(document, &QTextDocument::contentsChange, this, [&] { longest = qMax(longest, document->characterCount()); });
        QGuiApplication::clipboard()->setText(QString(50'000, u'y'));
        QTest::keyClick(&panel.view, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(panel.store->draftText(), u"half"_s + QString(DayTodoListModel::maxTitleLength - 10, u'y') + u" typed"_s);
        QCOMPARE(longest, DayTodoListModel::maxTitleLength + 1); // and the closing paragraph mark
    }

    void aHugeTitleShowsItsStart()
    {
        // Laid out whole, this would take minutes.
        Panel panel({QString(1'000'000, u'w')});
        QVERIFY(panel.open());
        const QString shown = panel.find(u"titleText"_s)->property("text").toString();
        QCOMPARE(shown, QString(DayTodoListModel::maxShownTitleLength, u'w') + u'\u2026');
    }

    void addFieldGrowsToEightLinesAndItsButtonFocusesOrSubmits()
    {
        Panel panel;
        QVERIFY(panel.open());
        QQuickItem *field = panel.find(u"addField"_s);
        QQuickItem *flick = field->parentItem()->parentItem();
        const double oneLine = flick->height();
        QVERIFY(oneLine > 10 && oneLine < 30);

        // The plus puts the focus into the field and adds nothing.
        QVERIFY(!field->hasActiveFocus());
        panel.click(panel.find(u"addButton"_s));
        QTRY_VERIFY(field->hasActiveFocus());
        QVERIFY(panel.store->items().isEmpty());

        // Eight whole lines, then it scrolls.
        panel.store->setDraftText(u"1\n2\n3\n4\n5\n6\n7\n8"_s);
        QTRY_COMPARE(flick->height(), 8 * oneLine);
        QCOMPARE(flick->property("contentHeight").toDouble(), flick->height());
        panel.store->setDraftText(u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11"_s);
        QTRY_COMPARE(flick->property("contentHeight").toDouble(), 11 * oneLine);
        QCOMPARE(flick->height(), 8 * oneLine);

        // With text the button submits.
        panel.click(panel.find(u"addButton"_s));
        QCOMPARE(panel.store->items().size(), 1);
        QCOMPARE(panel.store->draftText(), QString());
        QTRY_COMPARE(flick->height(), oneLine);
    }

    void theBodyEndsInsideItsWindowAndTheListGivesWayToALongDraft()
    {
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many.append(u"To-do %1"_s.arg(i));
        Panel panel(many);
        panel.store->setDraftText(u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12"_s);
        QQuickItem *body = panel.body();
        double tallest = 0;
        connect(body, &QQuickItem::heightChanged, this, [&] { tallest = qMax(tallest, body->height()); });
        QVERIFY(panel.open());
        QTRY_COMPARE(panel.container()->property("progress").toDouble(), 1.0);
        QVERIFY(tallest <= panel.view.height());
        // Whole: the field and the padding under it lie inside the body.
        QQuickItem *flick = panel.find(u"addField"_s)->parentItem()->parentItem();
        const auto whole = [&] { return flick->mapRectToItem(body, flick->boundingRect()).bottom() + 12 + 4 <= body->height(); };
        QVERIFY(whole());
        QQuickItem *list = panel.find(u"todoList"_s);
        const double listHeight = list->height();
        QVERIFY(listHeight < 300);
        // A notice line takes its room from the list too.
        panel.storage.writeError = u"Disk full"_s;
        panel.store->addTodo(u"One more"_s);
        QTRY_VERIFY(panel.find(u"storageNotice"_s));
        QTRY_VERIFY(list->height() < listHeight - 20);
        QVERIFY(whole() && body->height() <= panel.view.height());
        // The list takes its room back when the draft goes.
        panel.store->setDraftText(QString());
        QTRY_COMPARE(list->height(), 320.0);
    }

    void clickingTogglesAndDoubleClickingEditsInPlace()
    {
        Panel panel({u"Buy milk"_s, u"Call mum"_s});
        QVERIFY(panel.open());

        // A single click on the title toggles once no double click can follow.
        panel.click(panel.titleText(u"Buy milk"_s));
        QTRY_VERIFY(panel.stored(u"Buy milk"_s)->isCompleted);
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::List);
        QCOMPARE(panel.focus()->selectedItemID(), QString());
        QVERIFY(panel.titleText(u"Buy milk"_s)->property("font").value<QFont>().strikeOut());
        // The icon toggles at once.
        panel.click(panel.find(u"completionIcon"_s, panel.row(u"Buy milk"_s)));
        QVERIFY(!panel.stored(u"Buy milk"_s)->isCompleted);

        // A double click edits and never toggles; Return commits, trimmed.
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Buy milk"_s)));
        QQuickItem *row = panel.row(u"Buy milk"_s) ? panel.row(u"Buy milk"_s) : nullptr;
        QTRY_VERIFY(panel.find(u"editField"_s));
        QQuickItem *edit = panel.find(u"editField"_s);
        row = edit->parentItem()->parentItem()->parentItem();
        QVERIFY(edit->hasActiveFocus());
        QCOMPARE(edit->property("text").toString(), u"Buy milk"_s);
        QVERIFY(!row->property("pendingToggle").toBool());
        QVERIFY(!panel.stored(u"Buy milk"_s)->isCompleted);
        QTest::keyClick(&panel.view, Qt::Key_A, Qt::ControlModifier);
        type(&panel.view, u" Buy oat milk "_s);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QVERIFY(panel.stored(u"Buy oat milk"_s));
        QVERIFY(!panel.find(u"editField"_s));
        QTRY_VERIFY(panel.titleText(u"Buy oat milk"_s));

        // Escape discards, ends editing and goes no further.
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Call mum"_s)));
        QTRY_VERIFY(panel.find(u"editField"_s));
        type(&panel.view, u"xyz"_s);
        const int writes = panel.storage.writes;
        QTest::keyClick(&panel.view, Qt::Key_Escape);
        QVERIFY(!panel.find(u"editField"_s));
        QVERIFY(panel.stored(u"Call mum"_s));
        QCOMPARE(panel.storage.writes, writes);
        QCOMPARE(panel.view.rootObject()->property("escapesSeen").toInt(), 0);

        // Blanks and Return: the old title stays, editing ends, nothing saved.
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Call mum"_s)));
        QTRY_VERIFY(panel.find(u"editField"_s));
        QTest::keyClick(&panel.view, Qt::Key_A, Qt::ControlModifier);
        type(&panel.view, u"   "_s);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QVERIFY(!panel.find(u"editField"_s));
        QVERIFY(panel.stored(u"Call mum"_s));
        QCOMPARE(panel.storage.writes, writes);

        // Focus leaving the field commits.
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Call mum"_s)));
        QTRY_VERIFY(panel.find(u"editField"_s));
        QTest::keyClick(&panel.view, Qt::Key_A, Qt::ControlModifier);
        type(&panel.view, u"Call dad  "_s);
        panel.click(panel.find(u"dayHeader"_s));
        QVERIFY(!panel.find(u"editField"_s));
        QVERIFY(panel.stored(u"Call dad"_s));
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::Date);

        // So does the panel closing.
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Call dad"_s)));
        QTRY_VERIFY(panel.find(u"editField"_s));
        type(&panel.view, u" back"_s);
        panel.state.setOpen(false);
        QVERIFY(panel.stored(u"Call dad back"_s));
    }

    void rowButtonsMoveToTodayAndDelete()
    {
        Panel panel({u"Old errand"_s, u"Other"_s}, -1);
        QVERIFY(panel.open());
        QQuickItem *row = panel.row(u"Old errand"_s);
        QCOMPARE(panel.find(u"actionArea"_s, row)->width(), 38.0);
        QQuickItem *move = panel.find(u"moveToTodayButton"_s, row);
        QCOMPARE(move->opacity(), 0.0);

        // The tooltip of the top row's arrow stays inside the list.
        panel.hover(panel.find(u"moveToTodayButton"_s, panel.row(u"Other"_s)));
        QObject *tip = nullptr;
        QTRY_VERIFY((tip = panel.row(u"Other"_s)->findChild<QObject *>(u"moveToTodayTip"_s)) && tip->property("opened").toBool());
        QCOMPARE(tip->property("text").toString(), u"Move to today"_s);
        auto *tipBody = tip->property("background").value<QQuickItem *>();
        QQuickItem *list = panel.find(u"todoList"_s);
        QVERIFY(list->mapRectToScene(list->boundingRect()).contains(tipBody->mapRectToScene(tipBody->boundingRect())));

        // Hover fades the buttons in; the selection's fill wins over hover.
        panel.hover(panel.titleText(u"Old errand"_s));
        QTRY_COMPARE(move->opacity(), 1.0);
        QQuickItem *fill = panel.find(u"rowFill"_s, row);
        QCOMPARE(qRound(fill->property("color").value<QColor>().alphaF() * 100), 6);
        panel.focus()->setSelectedItemID(QUuid(panel.stored(u"Old errand"_s)->id).toString());
        panel.focus()->setFocusedSection(PanelFocusState::List);
        QCOMPARE(qRound(fill->property("color").value<QColor>().alphaF() * 100), 10);
        panel.click(move);
        QVERIFY(sharedCalendar().isInToday(panel.stored(u"Old errand"_s)->date, panel.store->now()));
        QTRY_VERIFY(!panel.titleText(u"Old errand"_s));

        panel.store->goToNextDay();
        QTRY_VERIFY(panel.titleText(u"Old errand"_s));
        row = panel.row(u"Old errand"_s);
        QCOMPARE(panel.find(u"actionArea"_s, row)->width(), 18.0);
        QVERIFY(!panel.find(u"moveToTodayButton"_s, row));
        panel.hover(panel.titleText(u"Old errand"_s));
        QQuickItem *remove = panel.find(u"deleteButton"_s, row);
        QTRY_COMPARE(remove->opacity(), 1.0);
        panel.click(remove);
        QVERIFY(!panel.stored(u"Old errand"_s));
        QTRY_VERIFY(panel.placeholderShown());
        QCOMPARE(panel.find(u"placeholderTitle"_s)->property("text").toString(), u"All clear!"_s);
        QCOMPARE(panel.find(u"placeholderSubtitle"_s)->property("text").toString(), u"Add a to-do below"_s);
    }

    void rightToLeftTitlesStartAtTheLeadingEdge()
    {
        const QString hebrew = u"לקנות חלב ולחם"_s;
        Panel panel({hebrew});
        QVERIFY(panel.open());
        QTRY_VERIFY(panel.titleText(hebrew));
        QCOMPARE(panel.titleText(hebrew)->property("effectiveHorizontalAlignment").toInt(), int(Qt::AlignLeft));
    }

    void emptyDaysShowThePlaceholderAndLongDaysScroll()
    {
        QStringList many;
        for (int i = 0; i < 30; ++i)
            many.append(u"To-do %1"_s.arg(i));
        Panel panel(many, 2);
        QVERIFY(panel.open());
        QQuickItem *list = panel.find(u"todoList"_s);
        QVERIFY(list);
        QTRY_COMPARE(list->height(), 320.0);
        QVERIFY(list->property("contentHeight").toDouble() > 320);
        QVERIFY(!panel.placeholderShown());
        // Built lazily: far fewer rows than to-dos.
        QVERIFY(itemsNamed(list, u"titleText"_s).size() < 20);

        // The chevron steps one day: an empty day shows the placeholder.
        const QString dayWithItems = panel.store->selectedDateLabel();
        panel.click(panel.find(u"nextDayButton"_s));
        QTRY_VERIFY(panel.placeholderShown());
        QCOMPARE(panel.find(u"placeholderTitle"_s)->property("text").toString(), u"Nothing here"_s);
        QCOMPARE(panel.find(u"placeholderSubtitle"_s)->property("text").toString(), u"No tasks for this day"_s);
        QTRY_COMPARE(list->height(), 0.0);
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::NoSection);
        // At once: nothing of the day before stands in the way.
        panel.click(panel.find(u"previousDayButton"_s));
        QCOMPARE(panel.store->selectedDateLabel(), dayWithItems);
        QTRY_COMPARE(list->height(), 320.0);

        // A row selected with the arrows is scrolled into view.
        panel.focus()->setFocusedSection(PanelFocusState::List);
        QTest::keyClick(&panel.view, Qt::Key_Up);
        QCOMPARE(panel.selectedTitle(), u"To-do 0"_s);
        QTRY_VERIFY(panel.row(u"To-do 0"_s));
        QQuickItem *last = panel.row(u"To-do 0"_s);
        const QRectF shown = last->mapRectToItem(list, QRectF(0, 0, last->width(), last->height()));
        QVERIFY(shown.top() >= 0 && shown.bottom() <= list->height());
    }
    void theDayFollowsTheClockAtOpeningAndWhileOpen()
    {
        Panel panel;
        const auto untilMidnight = [&] { return sharedCalendar().dayContaining(panel.store->now())->end - panel.store->now(); };
        const auto label = [&] { return panel.find(u"dayLabel"_s)->property("text").toString(); };
        // Midnight passes while the panel is closed, its list made ahead.
        panel.clockShift += untilMidnight() + 1;
        QVERIFY(panel.open());
        QVERIFY2(label().startsWith(u"Yesterday,"_s), qPrintable(label()));
        QCOMPARE(panel.find(u"placeholderTitle"_s)->property("text").toString(), u"Nothing here"_s);
        // Closed, it waits for nothing.
        panel.state.setOpen(false);
        QVERIFY(!panel.container()->findChild<TodayWatcher *>()->isWaiting());
        // The next midnight passes while it is open.
        panel.clockShift += untilMidnight() - 1;
        QVERIFY(panel.open());
        QTRY_VERIFY(!label().startsWith(u"Yesterday,"_s));
        QCOMPARE(label(), panel.store->selectedDateLabel());
    }

    void aFailedSaveShowsItsReasonInOneLine()
    {
        Panel panel({u"Buy milk"_s});
        QVERIFY(panel.open());
        QVERIFY(!panel.find(u"storageNotice"_s));
        panel.storage.writeError = u"No space left on device, and a reason long enough to need two lines"_s;
        panel.store->addTodo(u"Post the letter"_s);
        QQuickItem *notice = panel.find(u"storageNotice"_s);
        QVERIFY(notice);
        QVERIFY(notice->property("text").toString().startsWith(u"Not saved: No space left"_s));
        QCOMPARE(notice->property("lineCount").toInt(), 1);
        QVERIFY(notice->property("truncated").toBool());
        panel.storage.writeError.clear();
        QVERIFY(panel.store->saveIfBehind());
        QTRY_VERIFY(!panel.find(u"storageNotice"_s));
    }

    void theKeyboardAloneDrivesThePanel()
    {
        Panel panel({u"Buy milk"_s, u"Call mum"_s, u"Pay rent"_s});
        QVERIFY(panel.open());
        QQuickItem *header = panel.find(u"dayHeader"_s);
        QQuickItem *list = panel.find(u"todoList"_s);
        QQuickItem *field = panel.find(u"addField"_s);
        QQuickItem *highlight = header->childItems().first();
        QTRY_VERIFY(panel.titleText(u"Buy milk"_s));
        QCOMPARE(highlight->property("color").value<QColor>().alpha(), 0);

        // Tab: the header, highlighted.
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QVERIFY(header->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::Date);
        QCOMPARE(qRound(highlight->property("color").value<QColor>().alphaF() * 100), 6);
        // Shift+Tab steps the same way: the list, its first row selected, the
        // highlight gone.
        QTest::keyClick(&panel.view, Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(list->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::List);
        QCOMPARE(panel.selectedTitle(), u"Pay rent"_s);
        QCOMPARE(panel.fillOf(u"Pay rent"_s), 10);
        QCOMPARE(highlight->property("color").value<QColor>().alpha(), 0);
        // Down, Space.
        QTest::keyClick(&panel.view, Qt::Key_Down);
        QCOMPARE(panel.selectedTitle(), u"Call mum"_s);
        QCOMPARE(panel.fillOf(u"Call mum"_s), 10);
        QCOMPARE(panel.fillOf(u"Pay rent"_s), 0);
        QTest::keyClick(&panel.view, Qt::Key_Space);
        QVERIFY(panel.stored(u"Call mum"_s)->isCompleted);
        // Backspace: gone, the row below selected, the focus in the list.
        QTest::keyClick(&panel.view, Qt::Key_Backspace);
        QCOMPARE(panel.dayTitles(), (QStringList{u"Pay rent"_s, u"Buy milk"_s}));
        QCOMPARE(panel.selectedTitle(), u"Buy milk"_s);
        QVERIFY(list->hasActiveFocus());
        QTRY_VERIFY(!panel.titleText(u"Call mum"_s));
        // Ctrl+Z: back at its place, not selected.
        QTest::keyClick(&panel.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(panel.dayTitles(), (QStringList{u"Pay rent"_s, u"Call mum"_s, u"Buy milk"_s}));
        QCOMPARE(panel.selectedTitle(), u"Buy milk"_s);
        QVERIFY(list->hasActiveFocus());
        QTRY_VERIFY(panel.titleText(u"Call mum"_s));
        // Escape clears the selection in the list and goes no further.
        QTest::keyClick(&panel.view, Qt::Key_Escape);
        QCOMPARE(panel.focus()->selectedItemID(), QString());
        QVERIFY(list->hasActiveFocus());
        QCOMPARE(panel.view.rootObject()->property("escapesSeen").toInt(), 0);
        // Tab: the add field; typing and Return add a to-do.
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QVERIFY(field->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::Input);
        type(&panel.view, u"Walk dog"_s);
        QTest::keyClick(&panel.view, Qt::Key_Return);
        QCOMPARE(panel.dayTitles().first(), u"Walk dog"_s);
        QVERIFY(field->hasActiveFocus());
        // Tab leaves the field without typing a tab.
        type(&panel.view, u"draft"_s);
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QCOMPARE(panel.store->draftText(), u"draft"_s);
        QVERIFY(header->hasActiveFocus());
        QVERIFY(panel.focus()->dateFocusedViaTab());
        // A click on the highlighted header only takes the highlight away.
        panel.click(panel.find(u"dayLabel"_s));
        QVERIFY(header->hasActiveFocus());
        QVERIFY(!panel.focus()->dateFocusedViaTab());

        // Tab in a title being edited: the edit ends, kept, and the focus
        // goes on from the list to the add field.
        QTRY_VERIFY(panel.titleText(u"Walk dog"_s));
        QTest::mouseDClick(&panel.view, Qt::LeftButton, {}, Panel::centre(panel.titleText(u"Walk dog"_s)));
        QTRY_VERIFY(panel.find(u"editField"_s));
        type(&panel.view, u" now"_s);
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QVERIFY(panel.stored(u"Walk dog now"_s));
        QVERIFY(field->hasActiveFocus());
        QCOMPARE(panel.focus()->editingItemID(), QString());
    }

    void deletingTheLastRowByKeyFocusesThePlaceholderAndCtrlNJumpsToTheField()
    {
        Panel panel({u"Other"_s, u"Only"_s}, -1);
        QVERIFY(panel.open());
        QTRY_VERIFY(panel.titleText(u"Only"_s));
        QQuickItem *list = panel.find(u"todoList"_s);
        QQuickItem *placeholder = panel.find(u"placeholder"_s);
        QQuickItem *field = panel.find(u"addField"_s);

        // Ctrl+N from the list keeps the selection; a row click shows it again.
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QTest::keyClick(&panel.view, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(field->hasActiveFocus());
        QCOMPARE(panel.store->draftText(), QString());
        QCOMPARE(panel.selectedTitle(), u"Only"_s);
        QCOMPARE(panel.fillOf(u"Only"_s), 0);
        panel.click(panel.find(u"completionIcon"_s, panel.row(u"Other"_s)));
        QVERIFY(list->hasActiveFocus());
        QCOMPARE(panel.fillOf(u"Only"_s), 10);

        // Delete down to an empty day: the placeholder ends up with the focus.
        QTest::keyClick(&panel.view, Qt::Key_Delete);
        // (Sent straight, so that no event is processed before the checks.)
        QKeyEvent ctrlBackspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::ControlModifier);
        QCoreApplication::sendEvent(&panel.view, &ctrlBackspace);
        QVERIFY(panel.dayTitles().isEmpty());
        QCOMPARE(panel.focus()->selectedItemID(), QString());
        // First nothing has the focus but the view (which still takes Tab),
        // then the placeholder.
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::NoSection);
        QCOMPARE(panel.view.activeFocusItem(), panel.list());
        QTRY_VERIFY(placeholder->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::List);
        QTRY_VERIFY(panel.placeholderShown());
        // Ctrl+Z there brings the row back, unselected; the focus follows the
        // list section from the placeholder to the list.
        QTest::keyClick(&panel.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(panel.dayTitles(), (QStringList{u"Other"_s}));
        QCOMPARE(panel.focus()->selectedItemID(), QString());
        QVERIFY(list->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::List);
        QTest::keyClick(&panel.view, Qt::Key_Down);
        QCOMPARE(panel.selectedTitle(), u"Other"_s);

        // The row's own delete button: no keyboard refocusing, the selection
        // kept (now matching nothing).
        // (Once the row deleted before has faded out and gone.)
        QTRY_COMPARE(itemsNamed(list, u"titleText"_s).size(), 1);
        panel.hover(panel.titleText(u"Other"_s));
        QQuickItem *remove = panel.find(u"deleteButton"_s, panel.row(u"Other"_s));
        QTRY_COMPARE(remove->opacity(), 1.0);
        QSignalSpy sections(panel.focus(), &PanelFocusState::focusedSectionChanged);
        panel.click(remove);
        QVERIFY(panel.dayTitles().isEmpty());
        QVERIFY(!panel.focus()->selectedItemID().isEmpty());
        QTRY_VERIFY(panel.placeholderShown());
        QVERIFY(placeholder->hasActiveFocus());
        QCOMPARE(sections.size(), 0);
    }

    void aHeldDownMovesOneRowWhileAHeldRightStepsDays()
    {
        Panel panel({u"A"_s, u"B"_s, u"C"_s, u"D"_s});
        QVERIFY(panel.open());
        QTRY_VERIFY(panel.titleText(u"A"_s));
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QCOMPARE(panel.selectedTitle(), u"D"_s);
        hold(&panel.view, Qt::Key_Down, 5);
        QCOMPARE(panel.selectedTitle(), u"C"_s);
        hold(&panel.view, Qt::Key_Up, 5);
        QCOMPARE(panel.selectedTitle(), u"D"_s);

        // In the header the arrows repeat; focus and highlight stay.
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        QTest::keyClick(&panel.view, Qt::Key_Tab);
        const double today = panel.store->selectedDate();
        hold(&panel.view, Qt::Key_Right, 3);
        QCOMPARE(panel.store->selectedDate(), sharedCalendar().addingDays(today, 4).value());
        QVERIFY(panel.find(u"dayHeader"_s)->hasActiveFocus());
        QVERIFY(panel.focus()->dateFocusedViaTab());
        hold(&panel.view, Qt::Key_Left, 1);
        QCOMPARE(panel.store->selectedDate(), sharedCalendar().addingDays(today, 2).value());
        QTRY_VERIFY(panel.placeholderShown());
        QTRY_COMPARE(panel.find(u"dayLabel"_s)->property("text").toString(), panel.store->selectedDateLabel());
    }
};

QTEST_MAIN(PanelViewTest)
#include "panel_view_test.moc"
