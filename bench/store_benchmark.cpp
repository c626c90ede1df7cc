// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// How the store scales with a list that is never pruned: from a person's
// list (1,000 to-dos) to a decade of them (100,000). Every change writes the
// whole list and flushes it, so the plain write of the same bytes to a file,
// flushed the same way, is measured beside it; and so is the list kept
// through QJsonDocument and QSettings, which the storage's own reader,
// writer and file editor replace.

#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "storage/json_list_writer.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int daysInADecade = 3653;

// `count` to-dos spread over the last ten years, a few per day, a third done.
QList<TodoItem> decadeOfTodos(int count)
{
    const double today = *sharedCalendar().startOfDay(Instant::now());
    QList<TodoItem> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int daysAgo = int((qint64(i) * daysInADecade) / count);
        const double date = *sharedCalendar().addingDays(today, -daysAgo);
        items.append(TodoItem{QUuid::createUuid(), u"To-do number %1: call the garage about the brakes"_s.arg(i),
                              i % 3 == 0, date + 3600 * 9.5 + i % 60, date});
    }
    return items;
}

class StoreOnDisk
{
public:
    explicit StoreOnDisk(int count)
    {
        path = dir.filePath(u"marlowick.conf"_s);
        SettingsTodoStorage storage(path);
        storage.write(TodoStore::itemsDefaultsKey, decadeOfTodos(count));
    }

    // A copy under a new name: QSettings caches files it has read.
    QString freshCopy()
    {
        const QString copy = dir.filePath(u"copy-%1.conf"_s.arg(++copies));
        QFile::copy(path, copy);
        return copy;
    }

    QTemporaryDir dir;
    QString path;
    int copies = 0;
};

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// Start: read the settings file, decode the list and write it back once.
void BM_LoadAtStart(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        const QString copy = disk.freshCopy();
        state.ResumeTiming();
        TodoStore store(std::make_unique<SettingsTodoStorage>(copy));
        benchmark::DoNotOptimize(store.items().size());
        state.PauseTiming();
        QFile::remove(copy);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAtStart)->Apply(sizes);

void BM_DecodeOnly(benchmark::State &state)
{
    const QByteArray json = *TodoListCodec::encode(decadeOfTodos(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(TodoListCodec::decode(json));
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_DecodeOnly)->Apply(sizes);

void BM_EncodeOnly(benchmark::State &state)
{
    const QList<TodoItem> items = decadeOfTodos(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TodoListCodec::encode(items));
}
BENCHMARK(BM_EncodeOnly)->Apply(sizes);

// The list as it goes into the settings file, escaped in the same pass.
void BM_EncodeForSettings(benchmark::State &state)
{
    const QList<TodoItem> items = decadeOfTodos(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(JsonListWriter::settingsValue(items));
}
BENCHMARK(BM_EncodeForSettings)->Apply(sizes);

void BM_AddWithSave(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    TodoStore store(std::make_unique<SettingsTodoStorage>(disk.path));
    for (auto _ : state)
        store.addTodo(u"Buy milk"_s);
}
BENCHMARK(BM_AddWithSave)->Apply(sizes);

void BM_ToggleWithSave(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    TodoStore store(std::make_unique<SettingsTodoStorage>(disk.path));
    const TodoItem item = store.items().at(store.items().size() / 2);
    for (auto _ : state)
        store.toggleCompletion(item);
}
BENCHMARK(BM_ToggleWithSave)->Apply(sizes);

void BM_DeleteWithSave(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    TodoStore store(std::make_unique<SettingsTodoStorage>(disk.path));
    for (auto _ : state) {
        store.deleteTodo(store.items().first());
        state.PauseTiming();
        store.undoLastDelete();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteWithSave)->Apply(sizes);

// The floor for a change: the same bytes written to a plain file and flushed
// to disk, replacing it atomically as QSettings does.
void BM_PlainFileWriteAndFlush(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    const QByteArray json = *TodoListCodec::encode(decadeOfTodos(int(state.range(0))));
    const QString path = disk.dir.filePath(u"plain.json"_s);
    for (auto _ : state) {
        QSaveFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(json);
        file.commit(); // flushes to disk before the rename
    }
    state.SetBytesProcessed(state.iterations() * json.size());
}
BENCHMARK(BM_PlainFileWriteAndFlush)->Apply(sizes);

// The same without the rename: write and fsync in place.
void BM_PlainFileWriteAndFsync(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    const QByteArray json = *TodoListCodec::encode(decadeOfTodos(int(state.range(0))));
    const QByteArray path = disk.dir.filePath(u"plain.json"_s).toLocal8Bit();
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        benchmark::DoNotOptimize(::write(fd, json.constData(), size_t(json.size())));
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_PlainFileWriteAndFsync)->Apply(sizes);

// A change against the plain write of the same bytes, taken in turns so that
// both see the same disk and the same load: the ratio is the figure to watch.
void BM_ChangeAgainstPlainWrite(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    TodoStore store(std::make_unique<SettingsTodoStorage>(disk.path));
    const TodoItem item = store.items().at(store.items().size() / 2);
    const QString plainPath = disk.dir.filePath(u"plain.json"_s);
    qint64 changeNs = 0;
    qint64 plainNs = 0;
    QElapsedTimer timer;
    for (auto _ : state) {
        timer.start();
        store.toggleCompletion(item);
        changeNs += timer.nsecsElapsed();

        const QByteArray json = *TodoListCodec::encode(store.items()); // not timed
        timer.start();
        QSaveFile file(plainPath);
        file.open(QIODevice::WriteOnly);
        file.write(json);
        file.commit();
        plainNs += timer.nsecsElapsed();
    }
    const double n = double(state.iterations());
    state.counters["change_ms"] = changeNs / n / 1e6;
    state.counters["plain_ms"] = plainNs / n / 1e6;
    state.counters["ratio"] = double(changeNs) / double(plainNs);
}
BENCHMARK(BM_ChangeAgainstPlainWrite)->Apply(sizes);

// The same list through QJsonDocument and QSettings.
QList<TodoItem> itemsFromQJson(const QByteArray &json)
{
    const QJsonArray array = QJsonDocument::fromJson(json).array();
    QList<TodoItem> items;
    items.reserve(array.size());
    for (const QJsonValue &value : array) {
        const QJsonObject object = value.toObject();
        items.append(TodoItem{QUuid(object.value("id"_L1).toString()), object.value("title"_L1).toString(),
                              object.value("isCompleted"_L1).toBool(), object.value("createdAt"_L1).toDouble(),
                              object.value("date"_L1).toDouble()});
    }
    return items;
}

QByteArray qJsonOf(const QList<TodoItem> &items)
{
    QJsonArray array;
    for (const TodoItem &item : items) {
        array.append(QJsonObject{{"id"_L1, item.id.toString(QUuid::WithoutBraces).toUpper()},
                                 {"title"_L1, item.title},
                                 {"isCompleted"_L1, item.isCompleted},
                                 {"createdAt"_L1, item.createdAt},
                                 {"date"_L1, item.date}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// Start through QSettings: the whole file parsed, the list decoded.
void BM_QSettingsLoadAtStart(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    qsizetype loaded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString copy = disk.freshCopy();
        state.ResumeTiming();
        {
            QSettings settings(copy, QSettings::NativeFormat);
            loaded = itemsFromQJson(settings.value(TodoStore::itemsDefaultsKey).toByteArray()).size();
        }
        state.PauseTiming();
        QFile::remove(copy);
        state.ResumeTiming();
    }
    state.counters["items"] = double(loaded); // all of them, or the baseline read nothing
}
BENCHMARK(BM_QSettingsLoadAtStart)->Apply(sizes);

// One change with its save through QSettings: the list encoded by
// QJsonDocument, set and synced (QSettings writes the whole file anew).
void BM_QSettingsChangeWithSave(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    QSettings settings(disk.path, QSettings::NativeFormat);
    QList<TodoItem> items = itemsFromQJson(settings.value(TodoStore::itemsDefaultsKey).toByteArray());
    TodoItem &item = items[items.size() / 2];
    for (auto _ : state) {
        item.isCompleted = !item.isCompleted;
        settings.setValue(TodoStore::itemsDefaultsKey, qJsonOf(items));
        settings.sync();
    }
}
BENCHMARK(BM_QSettingsChangeWithSave)->Apply(sizes);

void BM_ItemsForSelectedDate(benchmark::State &state)
{
    StoreOnDisk disk(int(state.range(0)));
    TodoStore store(std::make_unique<SettingsTodoStorage>(disk.path));
    store.shiftSelectedDate(-daysInADecade / 2); // a day in the middle of the decade
    for (auto _ : state)
        benchmark::DoNotOptimize(store.itemsForSelectedDate());
    state.counters["dayItems"] = double(store.itemsForSelectedDate().size());
}
BENCHMARK(BM_ItemsForSelectedDate)->Apply(sizes)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
