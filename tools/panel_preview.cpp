// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Shows the panel's root view as the panel window will host it, in a window
// of the same size, over an in-memory list; for looking at it, taking
// screenshots and measuring the frame intervals of its animation. See
// README.md.

#include "app/quick_renderer.h"
#include "model/day_calendar.h"
#include "model/todo_store.h"
#include "notch/notch_animation_state.h"
#include "notch/panel_window_shape.h"
#include "storage/memory_todo_storage.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(MarlowickPlugin)

using namespace Qt::StringLiterals;

namespace {

QList<TodoItem> sampleItems(double today)
{
    const QStringList titles = {
        u"Buy milk"_s,
        u"Call the plumber about the kitchen tap"_s,
        u"Write the quarterly report for the garden club, with the photos from the spring fair and the treasurer's notes"_s,
        u"<b>milk</b> & <i>eggs</i>"_s,
        u"Water the plants"_s,
    };
    QList<TodoItem> items;
    for (qsizetype i = 0; i < titles.size(); ++i)
        items.append(TodoItem{QUuid::createUuid(), titles[i], i == 1, today + 3600 - double(i), today});
    return items;
}

// `total` to-dos spread over the days before today, `onDay` of them on the
// shown day.
QList<TodoItem> manyItems(double today, int total, int onDay)
{
    QList<TodoItem> items;
    items.reserve(total);
    for (int i = 0; i < total; ++i) {
        const bool shown = i < onDay;
        const double day = shown ? today : sharedCalendar().addingDays(today, -1 - (i % 3650)).value_or(today);
        items.append(TodoItem{QUuid::createUuid(), u"To-do number %1"_s.arg(i), i % 7 == 0, day + 60 - i * 1e-3, day});
    }
    return items;
}

struct Stats {
    QList<double> intervals;
    // From each change of isOpen to the first frame after it.
    QList<double> firstIntervals;
    void print(const char *phase) const
    {
        if (intervals.isEmpty()) {
            std::printf("%s: no frames\n", phase);
            return;
        }
        QList<double> sorted = intervals;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double v : sorted)
            sum += v;
        const auto pct = [&](double p) {
            return sorted[std::min<qsizetype>(sorted.size() - 1, qsizetype(p * sorted.size()))];
        };
        // A frame that takes longer than one and a half 60 Hz periods is a
        // dropped frame on a 60 Hz display.
        const auto dropped = std::count_if(sorted.begin(), sorted.end(), [](double v) { return v > 25; });
        std::printf("%s: %lld frames, interval ms: mean %.2f, median %.2f, p95 %.2f, max %.2f; over 25 ms: %lld\n",
                    phase, static_cast<long long>(sorted.size()), sum / sorted.size(), pct(0.5), pct(0.95),
                    sorted.last(), static_cast<long long>(dropped));
        double firstMax = 0;
        for (double v : firstIntervals)
            firstMax = std::max(firstMax, v);
        std::printf("%s: from the change to the first frame, max %.2f ms\n", phase, firstMax);
    }
};

} // namespace

int main(int argc, char **argv)
{
    // Drawn as the program draws it.
    QuickRenderer::preferSoftware();
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(u"Shows Marlowick's panel in a window of the panel window's size."_s);
    parser.addHelpOption();
    const QCommandLineOption sample(u"sample"_s, u"Five to-dos today: one completed, one long."_s);
    const QCommandLineOption total(u"total"_s, u"Number of to-dos in the store."_s, u"n"_s, u"0"_s);
    const QCommandLineOption onDay(u"on-day"_s, u"How many of them are on the shown day."_s, u"n"_s, u"0"_s);
    const QCommandLineOption dayOffset(u"day"_s, u"Show the day this many days from today."_s, u"n"_s, u"0"_s);
    const QCommandLineOption openAfter(u"open-after"_s, u"Open after this many ms (-1: stay closed)."_s, u"ms"_s,
                                       u"500"_s);
    const QCommandLineOption cycle(u"cycle"_s, u"Then close and open again every this many ms."_s, u"ms"_s, u"0"_s);
    const QCommandLineOption measure(
        u"measure"_s, u"Measure frame intervals over this many open/close cycles, then quit."_s, u"n"_s, u"0"_s);
    const QCommandLineOption draft(u"draft"_s, u"Text in the add field."_s, u"text"_s);
    const QCommandLineOption shape(u"shape"_s, u"Shape the window to the body's outline, as the panel window is."_s);
    const QCommandLineOption host(u"host"_s, u"The QML file that hosts the panel."_s, u"url"_s,
                                  u"qrc:/tools/PanelHost.qml"_s);
    parser.addOptions({host, sample, total, onDay, dayOffset, openAfter, cycle, measure, draft, shape});
    parser.process(app);

    auto store = new TodoStore(std::make_unique<MemoryTodoStorage>(), {}, &app);
    const double today = sharedCalendar().startOfDay(store->now()).value_or(0);
    QList<TodoItem> items = manyItems(today, parser.value(total).toInt(), parser.value(onDay).toInt());
    if (parser.isSet(sample))
        items = sampleItems(today) + items;
    store->setItems(items);
    store->shiftSelectedDate(parser.value(dayOffset).toInt());
    store->setDraftText(parser.value(draft));

    auto state = new NotchAnimationState(&app);
    QQuickView view;
    // Qt 6.4 does not look for modules in the resources' root by itself.
    view.engine()->addImportPath(u"qrc:/"_s);
    view.setColor(Qt::transparent);
    view.setFlag(Qt::FramelessWindowHint);
    view.setInitialProperties(
        {{u"store"_s, QVariant::fromValue(store)}, {u"animationState"_s, QVariant::fromValue(state)}});
    view.setSource(QUrl(parser.value(host)));
    if (view.status() != QQuickView::Ready)
        return 1;
    view.setTitle(u"Marlowick panel"_s);
    view.setPosition(770, 0);
    if (parser.isSet(shape)) {
        auto windowShape = new PanelWindowShape(&view);
        auto *container = view.rootObject()->findChild<QQuickItem *>(u"panelContainer"_s);
        windowShape->setOutlineItem(container ? container->property("outline").value<QQuickItem *>() : nullptr);
        view.create();
        windowShape->refresh();
    }
    view.show();

    const int openDelay = parser.value(openAfter).toInt();
    if (openDelay >= 0)
        QTimer::singleShot(openDelay, state, [state] {
            state->setOpen(true);
            std::printf("opened\n");
            std::fflush(stdout);
        });
    const int cycleMs = parser.value(cycle).toInt();
    auto toggler = new QTimer(&app);
    if (cycleMs > 0) {
        QObject::connect(toggler, &QTimer::timeout, state, [state] { state->setOpen(!state->isOpen()); });
        QTimer::singleShot(std::max(openDelay, 0), toggler, [toggler, cycleMs] { toggler->start(cycleMs); });
    }

    const int cycles = parser.value(measure).toInt();
    if (cycles > 0) {
        // Each phase lasts 700 ms, longer than the spring needs to settle.
        auto opening = new Stats;
        auto closing = new Stats;
        auto clock = new QElapsedTimer;
        auto last = new qint64(-1);
        QObject::connect(&view, &QQuickWindow::frameSwapped, &app, [=] {
            if (!clock->isValid())
                return;
            const qint64 now = clock->nsecsElapsed();
            if (*last >= 0) {
                Stats *stats = state->isOpen() ? opening : closing;
                stats->intervals.append((now - *last) / 1e6);
                if (*last == 0)
                    stats->firstIntervals.append((now - *last) / 1e6);
            }
            *last = now;
        });
        auto remaining = new int(cycles * 2);
        auto step = new QTimer(&app);
        QObject::connect(step, &QTimer::timeout, &app, [=, &app] {
            if (*remaining == 0) {
                opening->print("opening");
                closing->print("closing");
                app.quit();
                return;
            }
            --*remaining;
            // The first interval runs from the change to the first frame, so
            // building the list on opening counts.
            clock->start();
            *last = 0;
            state->setOpen(!state->isOpen());
            // Frames are only counted while the view animates: stop counting
            // after the spring's settling time.
            QTimer::singleShot(600, &app, [clock] { clock->invalidate(); });
        });
        QTimer::singleShot(1000, step, [step] { step->start(700); });
    }
    return app.exec();
}
