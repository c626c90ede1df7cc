// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "notch/notch_animation_state.h"
#include "views/day_todo_list_model.h"
#include "views/panel_focus_state.h"
#include "views/panel_metrics.h"
#include "views/today_watcher.h"

#include "storage/memory_todo_storage.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickTextDocument>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// Items of that object name in the visual tree below `root` (list delegates
// have no QObject parent, so findChildren misses them).
QList<QQuickItem *> itemsNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    for (QQuickItem *child : root->childItems()) {
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
    double clockShift = 0; // seconds added to the real clock
    std::unique_ptr<TodoStore> store;
    NotchAnimationState state;
    QQuickView view;

    // Titles of to-dos on the day `dayOffset` days from today, newest last.
    explicit Panel(const QStringList &titles = {}, int dayOffset = 0)
    {
        store = std::make_unique<TodoStore>(std::make_unique<MemoryTodoStorage>(&storage),
                                            [this] { return Instant::now() + clockShift; });
        const double day =
            sharedCalendar().addingDays(sharedCalendar().startOfDay(store->now()).value(), dayOffset).value();
        QList<TodoItem> items;
        for (qsizetype i = 0; i < titles.size(); ++i)
            items.prepend(TodoItem{QUuid::createUuid(), titles[i], false, day + double(i), day});
        store->setItems(items);
        store->shiftSelectedDate(dayOffset);
        view.engine()->addImportPath(u"qrc:/"_s);
        view.setInitialProperties(
            {{u"store"_s, QVariant::fromValue(store.get())}, {u"animationState"_s, QVariant::fromValue(&state)}});
        view.setSource(QUrl(u"qrc:/tools/PanelHost.qml"_s));
        view.show();
    }

    QQuickItem *container() const { return view.rootObject()->findChild<QQuickItem *>(u"panelContainer"_s); }
    QQuickItem *body() const { return view.rootObject()->findChild<QQuickItem *>(u"panelBody"_s); }
    QQuickItem *list() const { return container()->property("todoList").value<QQuickItem *>(); }
    PanelFocusState *focus() const { return list()->property("focusState").value<PanelFocusState *>(); }

    // The first visible item of that name (below `under`, or anywhere in the
    // list) that also passes `also`.
    QQuickItem *find(const QString &name, QQuickItem *under = nullptr,
                     std::function<bool(QQuickItem *)> also = {}) const
    {
        const auto named = itemsNamed(under ? under : list(), name);
        const auto it = std::find_if(named.begin(), named.end(),
                                     [&](QQuickItem *item) { return item->isVisible() && (!also || also(item)); });
        return it == named.end() ? nullptr : *it;
    }
    QString text(const QString &name) const { return find(name)->property("text").toString(); }
    bool isSelected(const QString &title) const { return stored(title)->id.toString() == focus()->selectedItemID(); }
    QQuickItem *titleText(const QString &title) const
    {
        return find(u"titleText"_s, nullptr, [&](QQuickItem *item) {
            return item->property("text").toString() == title && item->opacity() > 0;
        });
    }
    QQuickItem *row(const QString &title) const { return titleText(title)->parentItem()->parentItem(); }
    // The alpha of a row's fill, in hundredths.
    int fillOf(const QString &title) const { return alphaOf(find(u"rowFill"_s, row(title))); }
    static int alphaOf(QQuickItem *item) { return qRound(item->property("color").value<QColor>().alphaF() * 100); }
    const TodoItem *stored(const QString &title) const
    {
        const auto it = std::find_if(store->items().begin(), store->items().end(),
                                     [&](const TodoItem &item) { return item.title == title; });
        return it == store->items().end() ? nullptr : &*it;
    }

    static QPoint centre(QQuickItem *item)
    {
        return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
    }
    void click(QQuickItem *item) { QTest::mouseClick(&view, Qt::LeftButton, {}, centre(item)); }
    void hover(QQuickItem *item) { QTest::mouseMove(&view, centre(item)); }
    void edit(const QString &title)
    {
        QTRY_VERIFY(titleText(title));
        QTest::mouseDClick(&view, Qt::LeftButton, {}, centre(titleText(title)));
        QTRY_VERIFY(find(u"editField"_s));
    }
    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(&view, c.toLatin1());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&view, key, modifiers); }
    // A key held down: the press, `repeats` auto-repeated presses, the release.
    void hold(Qt::Key key, int repeats)
    {
        for (int i = 0; i <= repeats; ++i) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), i > 0);
            QCoreApplication::sendEvent(&view, &press);
        }
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &release);
    }

    bool open()
    {
        state.setOpen(true);
        return QTest::qWaitFor([this] { return body()->width() == 340 && list(); }, 10000);
    }
    // Rows come and go with an animation: wait until the list's height has
    // reached what its rows need, and the body has followed it.
    bool settled()
    {
        return QTest::qWaitFor(
            [this] {
                QQuickItem *rows = itemsNamed(list(), u"listView"_s).value(0);
                return rows && rows->property("shownHeight") == rows->property("naturalHeight")
                    && body()->height() == std::round(body()->property("openHeight").toDouble());
            },
            10000);
    }
    bool close()
    {
        state.setOpen(false);
        return QTest::qWaitFor([this] { return !list(); }, 10000);
    }
};

} // namespace

class PanelViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensFromTheNotchFollowingThePointerAndTheClock()
    {
        Panel panel({u"Buy milk"_s});
        QVERIFY(QTest::qWaitForWindowExposed(&panel.view));
        const auto untilMidnight = [&] {
            return sharedCalendar().dayContaining(panel.store->now())->end - panel.store->now();
        };
        // Midnight passes while closed, the list made ahead.
        panel.clockShift += untilMidnight() + 1;
        QQuickItem *body = panel.body();
        QQuickItem *border = panel.container()->findChild<QQuickItem *>(u"panelBorder"_s);
        QCOMPARE(body->size(), QSizeF(200, 0));
        QCOMPARE(body->mapToScene(QPointF(0, 0)), QPointF(90, 0)); // centred in the 380-wide window

        QVERIFY(panel.open());
        QTRY_COMPARE(border->opacity(), 1.0);
        QCOMPARE(body->mapToScene(QPointF(0, 0)), QPointF(20, 0));
        QVERIFY2(panel.text(u"dayLabel"_s).startsWith(u"Yesterday,"_s), qPrintable(panel.text(u"dayLabel"_s)));

        // Hover comes from the body, not from the rest of the window.
        QSignalSpy hoverChanges(&panel.state, &NotchAnimationState::mouseInPanelChanged);
        QTest::mouseMove(&panel.view, QPoint(10, 10));
        QVERIFY(!panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, QPoint(190, 30));
        QTRY_VERIFY(panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, QPoint(190, 510));
        QTRY_VERIFY(!panel.state.mouseInPanel());
        QCOMPARE(hoverChanges.size(), 2);

        // A body that shrinks away from a resting pointer keeps it (a to-do
        // added with the pointer on the field must not close the panel);
        // moving the pointer then leaves it.
        panel.store->deleteTodo(panel.store->items().first());
        QQuickItem *field = panel.find(u"addField"_s);
        QTRY_VERIFY(qAbs(field->mapToScene(QPointF(0, 0)).y() - body->height()) < 60); // settled
        const QPoint onField = Panel::centre(field);
        QTest::mouseMove(&panel.view, onField);
        QTRY_VERIFY(panel.state.mouseInPanel());
        const double tallBody = body->height();
        panel.store->addTodo(u"First of the day"_s);
        QVERIFY(panel.settled());
        QVERIFY(body->height() < tallBody - 20);
        QVERIFY(panel.state.mouseInPanel());
        QTest::mouseMove(&panel.view, onField + QPoint(0, 3));
        QTRY_VERIFY(!panel.state.mouseInPanel());
        // And a body that grows under a resting pointer has been entered.
        panel.store->deleteTodo(panel.store->items().first());
        QTRY_VERIFY(panel.state.mouseInPanel());

        // Closed, the list goes; reopened mid-way, the body carries on from
        // what is on screen.
        QVERIFY(panel.close());
        QTRY_VERIFY(body->width() < 300);
        const double width = body->width();
        panel.state.setOpen(true);
        QVERIFY(qAbs(body->width() - width) < 20);
        QTRY_COMPARE(body->width(), 340.0);
        panel.state.setOpen(false);
        QTRY_COMPARE(body->size(), QSizeF(200, 0));
        QCOMPARE(border->opacity(), 0.0);
        // Closed, it waits for no midnight; the next one passes while it is open.
        QVERIFY(!panel.container()->findChild<TodayWatcher *>()->isWaiting());
        panel.clockShift += untilMidnight() - 1;
        QVERIFY(panel.open());
        QTRY_VERIFY(!panel.text(u"dayLabel"_s).startsWith(u"Yesterday,"_s));
        QCOMPARE(panel.text(u"dayLabel"_s), panel.store->selectedDateLabel());
    }

    void addsThroughTheFieldAndShowsTitlesAsTyped()
    {
        Panel panel;
        QVERIFY(panel.open());
        QCOMPARE(panel.text(u"placeholderTitle"_s), u"All clear!"_s);
        QCOMPARE(panel.text(u"placeholderSubtitle"_s), u"Add a to-do below"_s);
        QQuickItem *field = panel.find(u"addField"_s);
        QCOMPARE(field->property("placeholderText").toString(), u"Add a to-do..."_s);
        // The placeholder reads on the black body: a contrast of 4.5:1 at least.
        const QColor placeholder = field->property("placeholderTextColor").value<QColor>();
        const auto linear = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        const double luminance = 0.2126 * linear(placeholder.redF() * placeholder.alphaF())
            + 0.7152 * linear(placeholder.greenF() * placeholder.alphaF())
            + 0.0722 * linear(placeholder.blueF() * placeholder.alphaF());
        QVERIFY2((luminance + 0.05) / 0.05 >= 4.5, qPrintable(placeholder.name(QColor::HexArgb)));
        // The plus puts the focus into the field and adds nothing; placeholder
        // text and cursor start at the field's edge.
        panel.click(panel.find(u"addButton"_s));
        QTRY_VERIFY(field->hasActiveFocus());
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::Input);
        const double fieldX = field->parentItem()->parentItem()->mapToScene({}).x();
        QCOMPARE(field->mapToScene(field->property("cursorRectangle").toRectF().topLeft()).x(), fieldX);
        for (QQuickItem *child : field->childItems()) {
            if (child->property("text") == field->property("placeholderText"))
                QCOMPARE(child->mapToScene({}).x(), fieldX);
        }

        // Another window takes the keyboard: no caret, and the field says so.
        QWindow elsewhere;
        elsewhere.show();
        elsewhere.requestActivate();
        QTRY_VERIFY(!field->hasActiveFocus());
        QCOMPARE(field->property("cursorVisible").toBool(), false);
        QVERIFY(field->property("placeholderText").toString().contains(u"another window has the keyboard"_s));
        panel.view.requestActivate();
        QTRY_VERIFY(field->hasActiveFocus());
        QCOMPARE(field->property("placeholderText").toString(), u"Add a to-do..."_s);

        // Shift+Return breaks the line; Return adds.
        panel.type(u"Buy"_s);
        panel.key(Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(panel.store->items().isEmpty());
        panel.type(u"bread"_s);
        panel.key(Qt::Key_Return);
        QVERIFY(panel.stored(u"Buy\nbread"_s));
        panel.type(u"Buy bread"_s);
        panel.key(Qt::Key_Return);
        QVERIFY(panel.stored(u"Buy bread"_s));
        QCOMPARE(field->property("text").toString(), QString());
        QVERIFY(field->hasActiveFocus());

        // Shown as typed: as wide as the plain characters, tags included.
        const QString markup = u"<b>milk</b> & <i>eggs</i>"_s;
        panel.type(markup);
        panel.key(Qt::Key_Return);
        QTRY_VERIFY(panel.titleText(markup));
        QVERIFY(panel.titleText(markup)->property("contentWidth").toDouble()
                > 2 * panel.titleText(u"Buy bread"_s)->property("contentWidth").toDouble());

        // The draft survives closing and is taken up again where it ends.
        panel.type(u"half typed"_s);
        QVERIFY(panel.close());
        QVERIFY(panel.open());
        field = panel.find(u"addField"_s);
        QCOMPARE(field->property("text").toString(), u"half typed"_s);
        panel.focus()->setFocusedSection(PanelFocusState::Input);
        QCOMPARE(field->property("cursorPosition").toInt(), 10);

        // A paste keeps what fits; the field never holds more (it lays out all it holds).
        field->setProperty("cursorPosition", 4);
        QTextDocument *document = field->property("textDocument").value<QQuickTextDocument *>()->textDocument();
        int longest = 0;
        connect(document, &QTextDocument::contentsChange, this,
                [&] { longest = qMax(longest, document->characterCount()); });
        QGuiApplication::clipboard()->setText(QString(50'000, u'y'));
        panel.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(panel.store->draftText(),
                 u"half"_s + QString(DayTodoListModel::maxTitleLength - 10, u'y') + u" typed"_s);
        QCOMPARE(longest, DayTodoListModel::maxTitleLength + 1); // and the closing paragraph mark
        // Characters as the command line counts them: an emoji is one.
        panel.key(Qt::Key_A, Qt::ControlModifier);
        QGuiApplication::clipboard()->setText(u"\U0001F600"_s.repeated(10'001));
        panel.key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(panel.store->draftText(), u"\U0001F600"_s.repeated(DayTodoListModel::maxTitleLength));
    }

    void rowButtonsMoveToTodayAndDelete()
    {
        Panel panel({u"Old errand"_s, u"Other"_s}, -1);
        QVERIFY(panel.open());
        QQuickItem *row = panel.row(u"Old errand"_s);
        QCOMPARE(panel.find(u"actionArea"_s, row)->width(), 38.0);
        QQuickItem *move = panel.find(u"moveToTodayButton"_s, row);

        // The tooltip of the top row's arrow stays inside the panel's
        // content and covers nothing of its row.
        panel.hover(panel.find(u"moveToTodayButton"_s, panel.row(u"Other"_s)));
        QObject *tip = nullptr;
        QTRY_VERIFY((tip = panel.row(u"Other"_s)->findChild<QObject *>(u"moveToTodayTip"_s))
                    && tip->property("opened").toBool());
        QCOMPARE(tip->property("text").toString(), u"Move to today"_s);
        auto *tipBody = tip->property("background").value<QQuickItem *>();
        QQuickItem *content = panel.find(u"listView"_s)->parentItem();
        const QRectF tipRect = tipBody->mapRectToScene(tipBody->boundingRect());
        QVERIFY(content->mapRectToScene(content->boundingRect()).contains(tipRect));
        QQuickItem *tipRow = panel.row(u"Other"_s);
        QVERIFY(!tipRow->mapRectToScene(tipRow->boundingRect()).intersects(tipRect));

        // Hover fades the buttons in; the selection's fill wins over hover.
        panel.hover(panel.titleText(u"Old errand"_s));
        QTRY_COMPARE(move->opacity(), 1.0);
        QCOMPARE(panel.fillOf(u"Old errand"_s), 6);
        panel.focus()->setSelectedItemID(QUuid(panel.stored(u"Old errand"_s)->id).toString());
        panel.focus()->setFocusedSection(PanelFocusState::List);
        QCOMPARE(panel.fillOf(u"Old errand"_s), 10);
        panel.click(move);
        QVERIFY(sharedCalendar().isInToday(panel.stored(u"Old errand"_s)->date, panel.store->now()));
        QTRY_VERIFY(!panel.titleText(u"Old errand"_s));

        // Today's rows have no arrow. The delete button keeps the focus
        // where it was and the selection as it was (now matching nothing);
        // with the day's last row gone, the placeholder takes the keys.
        panel.store->goToNextDay();
        QTRY_VERIFY(panel.titleText(u"Old errand"_s));
        row = panel.row(u"Old errand"_s);
        QCOMPARE(panel.find(u"actionArea"_s, row)->width(), 18.0);
        QVERIFY(!panel.find(u"moveToTodayButton"_s, row));
        panel.hover(panel.titleText(u"Old errand"_s));
        QQuickItem *remove = panel.find(u"deleteButton"_s, row);
        QTRY_COMPARE(remove->opacity(), 1.0);
        QSignalSpy sections(panel.focus(), &PanelFocusState::focusedSectionChanged);
        panel.click(remove);
        QVERIFY(!panel.stored(u"Old errand"_s));
        QVERIFY(!panel.focus()->selectedItemID().isEmpty());
        QTRY_VERIFY(panel.find(u"placeholder"_s)->hasActiveFocus());
        QCOMPARE(sections.size(), 0);
        panel.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(panel.stored(u"Old errand"_s));
        QTRY_VERIFY(panel.find(u"listView"_s)->hasActiveFocus());
    }

    // The add field grows to eight lines and the list gives way; long days
    // scroll and empty days show the placeholder.
    void theListGivesWayScrollsAndEmpties()
    {
        // A huge title, laid out whole, would take minutes.
        const QString hebrew = u"לקנות חלב ולחם"_s;
        QStringList titles;
        for (int i = 0; i < 30; ++i)
            titles.append(u"To-do %1"_s.arg(i));
        Panel panel(titles + QStringList{QString(1'000'000, u'w'), hebrew}, 2);
        panel.store->setDraftText(u"1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11"_s);
        QQuickItem *body = panel.body();
        double tallest = 0;
        connect(body, &QQuickItem::heightChanged, this, [&] { tallest = qMax(tallest, body->height()); });
        QVERIFY(panel.open());
        QTRY_COMPARE(panel.container()->property("progress").toDouble(), 1.0);
        QVERIFY(tallest <= panel.view.height());
        // Whole: the field and the padding under it lie inside the body.
        QQuickItem *list = panel.find(u"listView"_s);
        QVERIFY(itemsNamed(list, u"titleText"_s).size() < 20); // built lazily
        QTRY_VERIFY(panel.titleText(hebrew));
        QCOMPARE(panel.titleText(hebrew)->property("effectiveHorizontalAlignment").toInt(), int(Qt::AlignLeft));
        // Taller than the list, a row keeps its circle and buttons in view:
        // level with its first line, and below the list's top once scrolled
        // past its own.
        QQuickItem *wall = panel.row(QString(DayTodoListModel::maxShownTitleLength, u'w') + u'\u2026');
        QVERIFY(wall->height() > PanelMetrics::listMaximumHeight());
        const auto controlsShownAt = [&](double top) {
            list->setProperty("contentY", wall->y() + top);
            const QRectF shown = list->mapRectToScene(list->boundingRect());
            const double firstLine = std::max(wall->mapToScene({}).y(), shown.top()) + 28;
            for (const QString &name : {u"completionIcon"_s, u"actionArea"_s}) {
                const QRectF control = panel.find(name, wall)->mapRectToScene(QRectF(0, 0, 18, 18));
                if (!shown.contains(control) || control.bottom() > firstLine)
                    return false;
            }
            return true;
        };
        QVERIFY(controlsShownAt(-6));
        QVERIFY(controlsShownAt(wall->height() / 2));
        QQuickItem *flick = panel.find(u"addField"_s)->parentItem()->parentItem();
        const auto whole = [&] {
            return flick->mapRectToItem(body, flick->boundingRect()).bottom() + 12 + 4 <= body->height();
        };
        QVERIFY(whole());
        const double eightLines = flick->height();
        const double contentHeight = flick->property("contentHeight").toDouble();
        const double listHeight = list->height();
        QVERIFY(listHeight < 300);
        // A failed save's notice, on one line, takes its room from the list too.
        QVERIFY(!panel.find(u"storageNotice"_s));
        panel.storage.writeError = u"No space left on device, and a reason long enough to need two lines"_s;
        panel.store->addTodo(u"One more"_s);
        QQuickItem *notice = panel.find(u"storageNotice"_s);
        QVERIFY(notice->property("text").toString().startsWith(u"Not saved: No space left"_s));
        QCOMPARE(notice->property("lineCount").toInt(), 1);
        QVERIFY(notice->property("truncated").toBool());
        QTRY_VERIFY(list->height() < listHeight - 20);
        QVERIFY(whole() && body->height() <= panel.view.height());

        // With text the plus submits; the list takes its room back.
        panel.storage.writeError.clear();
        panel.click(panel.find(u"addButton"_s));
        QCOMPARE(panel.store->items().first().title.count(u'\n'), 10);
        QTRY_VERIFY(!panel.find(u"storageNotice"_s));
        QTRY_COMPARE(list->height(), PanelMetrics::listMaximumHeight());
        const double oneLine = flick->height();
        QVERIFY(oneLine > 10 && oneLine < 30);
        QCOMPARE(eightLines, 8 * oneLine); // eight whole lines, then it scrolls
        QCOMPARE(contentHeight, 11 * oneLine);

        // The chevron steps one day: an empty day shows the placeholder.
        const QString dayWithItems = panel.store->selectedDateLabel();
        panel.click(panel.find(u"nextDayButton"_s));
        QTRY_COMPARE(panel.find(u"placeholder"_s)->height(), 100.0);
        QCOMPARE(panel.text(u"placeholderTitle"_s), u"Nothing here"_s);
        QCOMPARE(panel.text(u"placeholderSubtitle"_s), u"No tasks for this day"_s);
        QTRY_COMPARE(list->height(), 0.0);
        // Back at once: nothing of the day before stands in the way.
        panel.click(panel.find(u"previousDayButton"_s));
        QCOMPARE(panel.store->selectedDateLabel(), dayWithItems);
        QTRY_COMPARE(list->height(), PanelMetrics::listMaximumHeight());

        // A row selected with the arrows is scrolled into view.
        panel.focus()->setFocusedSection(PanelFocusState::List);
        panel.key(Qt::Key_Up);
        QVERIFY(panel.isSelected(u"To-do 0"_s));
        QTRY_VERIFY(panel.row(u"To-do 0"_s));
        QQuickItem *last = panel.row(u"To-do 0"_s);
        const QRectF shown = last->mapRectToItem(list, QRectF(0, 0, last->width(), last->height()));
        QVERIFY(shown.top() >= 0 && shown.bottom() <= list->height());
    }

    // Clicks toggle and edit in place; each element hands its keys to the
    // keyboard (whose rules have tests of their own) and the focus follows
    // its state.
    void clicksAndKeysDriveTheRows()
    {
        Panel panel({u"Buy milk"_s, u"Call mum"_s, u"Pay rent"_s});
        QVERIFY(panel.open());
        QQuickItem *header = panel.find(u"dayHeader"_s);
        QQuickItem *list = panel.find(u"listView"_s);
        QQuickItem *field = panel.find(u"addField"_s);
        QQuickItem *highlight = header->childItems().first();
        QTRY_VERIFY(panel.titleText(u"Buy milk"_s));

        // Tab: the header, highlighted. Shift+Tab steps the same way: the
        // list, its first row selected, the highlight gone.
        panel.key(Qt::Key_Tab);
        QVERIFY(header->hasActiveFocus());
        QCOMPARE(Panel::alphaOf(highlight), 6);
        panel.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QVERIFY(list->hasActiveFocus());
        QVERIFY(panel.isSelected(u"Pay rent"_s));
        QCOMPARE(panel.fillOf(u"Pay rent"_s), 10);
        QCOMPARE(Panel::alphaOf(highlight), 0);
        // A held Down moves one row.
        panel.hold(Qt::Key_Down, 5);
        QVERIFY(panel.isSelected(u"Call mum"_s));
        // Escape clears the selection in the list and goes no further.
        panel.key(Qt::Key_Escape);
        QCOMPARE(panel.focus()->selectedItemID(), QString());
        QCOMPARE(panel.view.rootObject()->property("escapesSeen").toInt(), 0);

        // Tab: the add field; Tab leaves it again without typing a tab.
        panel.key(Qt::Key_Tab);
        QVERIFY(field->hasActiveFocus());
        panel.type(u"draft"_s);
        panel.key(Qt::Key_Tab);
        QCOMPARE(panel.store->draftText(), u"draft"_s);
        QVERIFY(header->hasActiveFocus());
        // A click on the highlighted header only takes the highlight away.
        panel.click(panel.find(u"dayLabel"_s));
        QVERIFY(header->hasActiveFocus());
        QVERIFY(!panel.focus()->dateFocusedViaTab());

        // A single click on the title toggles once no double click can
        // follow; the icon toggles at once.
        panel.click(panel.titleText(u"Buy milk"_s));
        QTRY_VERIFY(panel.stored(u"Buy milk"_s)->isCompleted);
        QCOMPARE(panel.focus()->focusedSection(), PanelFocusState::List);
        QVERIFY(panel.titleText(u"Buy milk"_s)->property("font").value<QFont>().strikeOut());
        panel.click(panel.find(u"completionIcon"_s, panel.row(u"Buy milk"_s)));
        QVERIFY(!panel.stored(u"Buy milk"_s)->isCompleted);

        // A double click edits and never toggles; Return commits, Escape
        // discards and goes no further, Tab commits and goes on from the list
        // to the add field, and so does the panel closing.
        panel.edit(u"Buy milk"_s);
        QVERIFY(panel.find(u"editField"_s)->hasActiveFocus());
        panel.key(Qt::Key_A, Qt::ControlModifier);
        panel.type(u"Buy oat milk"_s);
        panel.key(Qt::Key_Return);
        QVERIFY(!panel.stored(u"Buy oat milk"_s)->isCompleted);
        QVERIFY(!panel.find(u"editField"_s));
        panel.edit(u"Call mum"_s);
        panel.type(u"xyz"_s);
        panel.key(Qt::Key_Escape);
        QVERIFY(!panel.find(u"editField"_s));
        QCOMPARE(panel.view.rootObject()->property("escapesSeen").toInt(), 0);
        panel.edit(u"Call mum"_s);
        panel.type(u" now"_s);
        panel.key(Qt::Key_Tab);
        QVERIFY(panel.stored(u"Call mum now"_s));
        QVERIFY(field->hasActiveFocus());
        panel.edit(u"Pay rent"_s);
        panel.type(u"!"_s);
        QVERIFY(panel.close());
        QVERIFY(panel.stored(u"Pay rent!"_s));

        // In the header the arrows repeat.
        QVERIFY(panel.open());
        panel.focus()->setFocusedSection(PanelFocusState::Date);
        const double today = panel.store->selectedDate();
        panel.hold(Qt::Key_Left, 2);
        QCOMPARE(panel.store->selectedDate(), sharedCalendar().addingDays(today, -3).value());
    }
};

QTEST_MAIN(PanelViewTest)
#include "panel_view_test.moc"
