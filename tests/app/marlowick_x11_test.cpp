// The real marlowick program on an X server, as a user meets it: run under
// tests/support/run_with_xvfb.sh (a 32-pixel top panel, no tray). Each case
// starts the program with settings and runtime folders of its own and drives
// the pointer and keyboard with xdotool.
#include "model/day_calendar.h"
#include "model/instant.h"
#include "model/todo_store.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"

#include "support/test_main.h"
#include "tray_host.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 20000;

struct Output
{
    int exitCode = -1;
    QString out;
    QString err;
};

Output run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeout))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

bool xdotool(const QStringList &arguments)
{
    return run(u"xdotool"_s, arguments).exitCode == 0;
}

// The visible windows whose name is exactly name, of the process pid (which
// the window must announce) or of any (0).
QStringList visibleWindows(qint64 pid, const QString &name)
{
    QStringList arguments{u"search"_s, u"--all"_s, u"--onlyvisible"_s};
    if (pid != 0)
        arguments << u"--pid"_s << QString::number(pid);
    arguments << u"--name"_s << u"^%1$"_s.arg(name);
    // A search walks every window; one that goes away meanwhile (any
    // client's) makes it stop with an X error: then search again.
    Output output;
    for (int attempt = 0; attempt < 50; ++attempt) {
        output = run(u"xdotool"_s, arguments);
        if (!output.err.contains(u"X Error"_s))
            break;
    }
    return output.out.split(u'\n', Qt::SkipEmptyParts);
}

// "WxH+X+Y" of a window, as xwininfo reports its absolute place.
QString windowGeometry(const QString &window)
{
    const QString info = run(u"xwininfo"_s, {u"-id"_s, window}).out;
    auto number = [&](const QString &label) {
        const auto match = QRegularExpression(label + u":\\s+(-?\\d+)"_s).match(info);
        return match.hasMatch() ? match.captured(1) : u"?"_s;
    };
    return u"%1x%2+%3+%4"_s.arg(number(u"Width"_s), number(u"Height"_s), number(u"Absolute upper-left X"_s),
                                number(u"Absolute upper-left Y"_s));
}

// Whether the screen shows white text where the open panel's day label is,
// as a screenshot of the root window has it.
bool showsDayLabel()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(u"header.png"_s);
    if (run(u"import"_s, {u"-window"_s, u"root"_s, u"-crop"_s, u"160x20+880+33"_s, u"+repage"_s, file}).exitCode != 0)
        return false;
    const QImage image(file);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 200)
                return true;
        }
    }
    return false;
}

TodoItem todo(const QString &title, double day)
{
    TodoItem item;
    item.id = QUuid::createUuid();
    item.title = title;
    item.createdAt = day + 3600;
    item.date = day;
    return item;
}

// One marlowick process with a home of its own.
class Marlowick
{
public:
    Marlowick()
    {
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~Marlowick()
    {
        for (QProcess *process : {&m_process, &m_second}) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished();
            }
        }
    }

    QString settingsFile() const { return m_config.filePath(u"marlowick/marlowick.conf"_s); }

    // Variables set for each start, over the test's own environment.
    QHash<QString, QString> environment;

    QString stateFolder() const { return m_state.path(); }

    void start() { start(m_process); }
    // A second start with the same user folders, or with a runtime folder of
    // its own (as from another session).
    void startAgain(const QString &runtime = {}) { start(m_second, runtime); }

    QProcess &process() { return m_process; }
    QProcess &second() { return m_second; }
    qint64 pid() const { return m_process.processId(); }

    QString log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }
    bool logged(const QString &text) { return log().contains(text); }

    bool panelMapped() { return visibleWindows(pid(), u"Marlowick"_s).size() == 1; }
    // Whether it draws with OpenGL: only then does Qt load its plugin that
    // joins OpenGL to X11.
    bool drawsWithOpenGL() const
    {
        QFile maps(u"/proc/%1/maps"_s.arg(pid()));
        return maps.open(QIODevice::ReadOnly)
            && QString::fromLocal8Bit(maps.readAll()).contains(QRegularExpression(u"qxcb-\\w+-integration"_s));
    }
    QString panelGeometry()
    {
        const QStringList windows = visibleWindows(pid(), u"Marlowick"_s);
        return windows.size() == 1 ? windowGeometry(windows.first()) : QString();
    }

    // Ends the program as the session would at logout (SIGTERM), or a
    // closing terminal (SIGHUP).
    bool terminate(int signal = SIGTERM)
    {
        ::kill(pid_t(pid()), signal);
        return m_process.waitForFinished(timeout) && m_process.exitStatus() == QProcess::NormalExit
            && m_process.exitCode() == 0;
    }

private:
    void start(QProcess &process, const QString &runtime = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_config.path());
        environment.insert(u"XDG_STATE_HOME"_s, m_state.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.isEmpty() ? m_runtime.path() : runtime);
        environment.insert(u"QT_LOGGING_RULES"_s, u"marlowick.app.info=true"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s); // the program picks X11 itself
        // ... and its renderer.
        for (const char *name : {"QT_QUICK_BACKEND", "QMLSCENE_DEVICE", "QSG_RHI_BACKEND"})
            environment.remove(QString::fromLatin1(name));
        for (auto variable = this->environment.cbegin(); variable != this->environment.cend(); ++variable)
            environment.insert(variable.key(), variable.value());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(MARLOWICK_BINARY), {});
    }

    QTemporaryDir m_config;
    QTemporaryDir m_state;
    QTemporaryDir m_runtime;
    QProcess m_process;
    QProcess m_second;
    QString m_log;
};

QList<TodoItem> storedItems(const Marlowick &app)
{
    const QVariant value = SettingsTodoStorage(app.settingsFile()).value(TodoStore::itemsDefaultsKey);
    return TodoListCodec::decode(value.toByteArray()).value_or(QList<TodoItem>());
}

QStringList storedTitles(const Marlowick &app)
{
    QStringList titles;
    for (const TodoItem &item : storedItems(app))
        titles.append(item.title);
    return titles;
}

// Clicks into the add field at height y, types the title and presses Return,
// until the to-do is added (by default: stored): a click while the panel
// still springs open can land where the field is not yet.
bool addThroughField(const Marlowick &app, int y, const QString &title, std::function<bool()> added = {})
{
    if (!added)
        added = [&] { return storedTitles(app).contains(title); };
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (!xdotool({u"mousemove"_s, u"940"_s, QString::number(y), u"click"_s, u"1"_s})
            || !xdotool({u"type"_s, u"--delay"_s, u"20"_s, title}) || !xdotool({u"key"_s, u"Return"_s}))
            return false;
        if (QTest::qWaitFor(added, 3000))
            return true;
    }
    return false;
}

} // namespace

class MarlowickX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server: run under tests/support/run_with_xvfb.sh");
        // Translucent windows as on a desktop with effects.
        m_compositor.start(u"xcompmgr"_s, {});
        QVERIFY(m_compositor.waitForStarted(timeout));
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void cleanupTestCase()
    {
        m_compositor.kill();
        m_compositor.waitForFinished();
    }

    void withoutADisplayItSaysWhichAndExits()
    {
        for (const QString &display : {u":4093"_s, QString()}) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(u"DISPLAY"_s);
            environment.remove(u"QT_QPA_PLATFORM"_s);
            if (!display.isEmpty())
                environment.insert(u"DISPLAY"_s, display);
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(MARLOWICK_BINARY), {});
            QVERIFY(process.waitForFinished(timeout));
            QCOMPARE(process.exitStatus(), QProcess::NormalExit);
            QCOMPARE(process.exitCode(), 1);
            const QString message = QString::fromLocal8Bit(process.readAllStandardError());
            QVERIFY2(message.contains(display.isEmpty() ? u"DISPLAY is not set"_s : u"\":4093\""_s),
                     qPrintable(message));
        }
    }

    void storedListIsLoadedAndSurvivesSigtermAndSighup()
    {
        Marlowick app;
        const double day = 786240000; // 2025-12-01, local midnight or not: any day
        const QList<TodoItem> items{todo(u"Water the ferns"_s, day), todo(u"Call the plumber"_s, day + 86400)};
        QDir().mkpath(QFileInfo(app.settingsFile()).absolutePath());
        QVERIFY(SettingsTodoStorage(app.settingsFile()).write(TodoStore::itemsDefaultsKey, items));

        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY2(app.logged(u"loaded 2 to-dos"_s), qPrintable(app.log()));
        // The simulated top panel is 32 pixels high; no tray on a bare server,
        // which the program says once.
        QVERIFY2(app.logged(u"ready: sensor 200x32+860+0"_s), qPrintable(app.log()));
        QCOMPARE(app.log().count(u"no system tray"_s), 1);

        QVERIFY(app.terminate());
        QCOMPARE(storedItems(app), items);
        app.start();
        QTRY_COMPARE_WITH_TIMEOUT(app.log().count(u"ready:"_s), 2, timeout);
        QVERIFY(app.terminate(SIGHUP));
        QCOMPARE(storedItems(app), items);
    }

    void unreadableListIsLeftAloneAndTheProgramRuns()
    {
        Marlowick app;
        QDir().mkpath(QFileInfo(app.settingsFile()).absolutePath());
        {
            QSettings settings(app.settingsFile(), QSettings::IniFormat);
            settings.setValue(TodoStore::itemsDefaultsKey, QByteArray("[{\"title\": \"half a to-d"));
        }
        QFile file(app.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY2(app.logged(u"loaded 0 to-dos"_s), qPrintable(app.log()));

        // It works: the panel opens from the strip, and nothing is written
        // until the first change.
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        file.close();

        // The first change keeps a copy of the file as it was beside it.
        // The add field under "All clear!" and the notice "Not read: ...".
        QVERIFY(addThroughField(app, 211, u"A fresh start"_s));
        QCOMPARE(storedTitles(app), QStringList{u"A fresh start"_s});
        const QFileInfoList copies = QFileInfo(app.settingsFile()).dir().entryInfoList({u"*.unreadable-*"_s});
        QCOMPARE(copies.size(), 1);
        QTRY_VERIFY2_WITH_TIMEOUT(app.logged(copies.first().filePath()), qPrintable(app.log()), timeout);
        QFile copy(copies.first().filePath());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), before);
        QVERIFY(app.terminate());
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void aListThatCannotBeSavedIsKeptInARecoveryFileAtQuit()
    {
        Marlowick app;
        // A file where the settings folder should be: nothing can be saved.
        QFile blocker(QFileInfo(app.settingsFile()).absolutePath());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QVERIFY(addThroughField(app, 185, u"Buy stamps"_s, [&] { return app.logged(u"Could not save"_s); }));

        QVERIFY(app.terminate());
        const QFileInfoList kept = QDir(app.stateFolder() + u"/marlowick"_s).entryInfoList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        QTRY_VERIFY2_WITH_TIMEOUT(app.logged(kept.first().filePath()), qPrintable(app.log()), timeout);
        const QVariant list = SettingsTodoStorage(kept.first().filePath()).value(TodoStore::itemsDefaultsKey);
        QCOMPARE(TodoListCodec::decode(list.toByteArray()).value_or(QList<TodoItem>()).value(0).title,
                 u"Buy stamps"_s);
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void aToDoIsAddedAndCompletedWithTheMouse()
    {
        Marlowick app;
        const double today = *DayCalendar::current().startOfDay(Instant::now());
        QDir().mkpath(QFileInfo(app.settingsFile()).absolutePath());
        QVERIFY(SettingsTodoStorage(app.settingsFile()).write(TodoStore::itemsDefaultsKey, {todo(u"Water the ferns"_s, today)}));
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);

        // The stored to-do is the first row: a click on its title completes
        // it. A click while the list still springs open may miss the title;
        // then click again (a hit shows in the stored list well before).
        QVERIFY(xdotool({u"mousemove"_s, u"880"_s, u"86"_s}));
        bool completed = false;
        for (int attempt = 0; attempt < 5 && !completed; ++attempt) {
            QVERIFY(xdotool({u"click"_s, u"1"_s}));
            completed = QTest::qWaitFor([&] { return storedItems(app).value(0).isCompleted; }, 3000);
        }
        QVERIFY(completed);

        // A to-do typed into the add field is stored with Return, on top.
        QVERIFY(addThroughField(app, 129, u"Buy bread"_s));
        QCOMPARE(storedTitles(app), (QStringList{u"Buy bread"_s, u"Water the ferns"_s}));
        QVERIFY(app.terminate());
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void aBodyThatShrinksFromTheRestingPointerStaysOpenUntilThePointerMoves()
    {
        Marlowick app;
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        // The day's first to-do takes the placeholder's place: the body
        // shrinks, and the pointer resting on the add field is now below it.
        QVERIFY(addThroughField(app, 185, u"Buy stamps"_s));
        QTest::qWait(1200); // more than the close delay, with the pointer still
        QVERIFY(app.panelMapped());
        QVERIFY(xdotool({u"type"_s, u"--delay"_s, u"20"_s, u"Post the letter"_s}));
        QVERIFY(xdotool({u"key"_s, u"Return"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(storedTitles(app), (QStringList{u"Post the letter"_s, u"Buy stamps"_s}), timeout);
        // Moved away, the pointer has left.
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"400"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!app.panelMapped(), timeout);
        QVERIFY(app.terminate());
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void theSelectedRowIsDeletedWithBackspaceAndBroughtBackWithCtrlZ()
    {
        Marlowick app;
        const double today = *DayCalendar::current().startOfDay(Instant::now());
        QDir().mkpath(QFileInfo(app.settingsFile()).absolutePath());
        QVERIFY(SettingsTodoStorage(app.settingsFile())
                    .write(TodoStore::itemsDefaultsKey, {todo(u"Newest"_s, today), todo(u"Oldest"_s, today)}));
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"1000"_s, u"60"_s})); // rest on the body

        // Tab to the header, Tab to the list (its first row selected), then
        // delete that row and bring it back.
        QVERIFY(xdotool({u"key"_s, u"--delay"_s, u"100"_s, u"Tab"_s, u"Tab"_s, u"BackSpace"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(storedTitles(app), QStringList{u"Oldest"_s}, timeout);
        QVERIFY(xdotool({u"key"_s, u"ctrl+z"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(storedTitles(app), (QStringList{u"Newest"_s, u"Oldest"_s}), timeout);
        QVERIFY(app.terminate());
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void panelOpensFromTheStripAndCtrlQQuits_data()
    {
        QTest::addColumn<QString>("rhiBackend");
        QTest::newRow("software renderer (default)") << QString();
        QTest::newRow("OpenGL") << u"opengl"_s;
    }

    void panelOpensFromTheStripAndCtrlQQuits()
    {
        QFETCH(QString, rhiBackend);
        Marlowick app;
        if (!rhiBackend.isEmpty())
            app.environment.insert(u"QSG_RHI_BACKEND"_s, rhiBackend);
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(!app.panelMapped());

        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QTRY_COMPARE_WITH_TIMEOUT(app.panelGeometry(), u"380x520+770+0"_s, timeout);
        QTRY_VERIFY_WITH_TIMEOUT(showsDayLabel(), timeout);
        QCOMPARE(app.drawsWithOpenGL(), !rhiBackend.isEmpty());
        // Over the panel it stays; the open panel has the keyboard.
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"300"_s}));
        QVERIFY(xdotool({u"key"_s, u"ctrl+q"_s}));
        QVERIFY(app.process().waitForFinished(timeout));
        QCOMPARE(app.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.process().exitCode(), 0);
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void secondStartOpensTheFirstsPanelAndAClickElsewhereClosesIt()
    {
        // Another program's window, where the pointer rests and clicks.
        QProcess other;
        other.start(u"xmessage"_s, {u"-geometry"_s, u"300x100+100+600"_s, u"another program"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows(0, u"xmessage"_s).isEmpty()
                                     || other.state() == QProcess::NotRunning,
                                 timeout);
        QVERIFY(other.state() == QProcess::Running);
        QVERIFY(xdotool({u"mousemove"_s, u"250"_s, u"620"_s}));

        Marlowick app;
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY(!app.panelMapped());

        app.startAgain();
        QVERIFY(app.second().waitForFinished(timeout));
        QCOMPARE(app.second().exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.second().exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(app.second().readAllStandardError()).contains(u"already running"_s));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QCOMPARE(app.process().state(), QProcess::Running);

        // Started from another session (another runtime folder), it cannot
        // reach the first one, and does not run beside it on the same list.
        QTemporaryDir otherRuntime;
        app.startAgain(otherRuntime.path());
        QVERIFY(app.second().waitForFinished(timeout));
        QCOMPARE(app.second().exitCode(), 1);
        const QString refusal = QString::fromLocal8Bit(app.second().readAllStandardError());
        QVERIFY2(refusal.contains(u"process %1"_s.arg(app.pid())) && refusal.contains(app.settingsFile()),
                 qPrintable(refusal));

        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!app.panelMapped(), timeout);
        QCOMPARE(app.process().state(), QProcess::Running);
        QVERIFY(app.terminate());

        other.kill();
        other.waitForFinished();
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void aNewTopPanelHeightReachesTheStrip()
    {
        auto setTopPanel = [](int height) {
            return run(u"xprop"_s, {u"-root"_s, u"-f"_s, u"_NET_WORKAREA"_s, u"32c"_s, u"-set"_s, u"_NET_WORKAREA"_s,
                                    u"0, %1, 1920, %2"_s.arg(height).arg(1080 - height)})
                       .exitCode
                == 0;
        };
        Marlowick app;
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready: sensor 200x32+860+0"_s), timeout);
        QVERIFY(setTopPanel(48));
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"screens changed: sensor 200x48+860+0"_s), timeout);
        // The strip is now 48 pixels high: its lower part opens the panel.
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"40"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"300"_s}));
        QVERIFY(setTopPanel(32));
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"screens changed: sensor 200x32+860+0"_s), timeout);
        // The open panel stays where it was: centred, at the top.
        QCOMPARE(app.panelGeometry(), u"380x520+770+0"_s);
        QVERIFY(app.terminate());
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

    void trayItemTogglesThePanelAndItsMenuQuits()
    {
        TrayHost tray(1920);
        QVERIFY(tray.isRunning());
        Marlowick app;
        app.start();
        QTRY_VERIFY_WITH_TIMEOUT(app.logged(u"ready:"_s), timeout);
        QVERIFY2(!app.logged(u"no system tray"_s), qPrintable(app.log()));
        QTRY_COMPARE_WITH_TIMEOUT(tray.iconCount(), 1, timeout);

        const QPoint icon = tray.iconCentre(0);
        QVERIFY(xdotool({u"mousemove"_s, QString::number(icon.x()), QString::number(icon.y())}));
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        // The press of the next click closes the open panel; the click
        // must not open it again.
        QVERIFY(xdotool({u"click"_s, u"1"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!app.panelMapped(), timeout);

        // The right button opens the menu, also while the panel is open
        // (from the strip here), which closes on that press. The menu keeps
        // the keyboard when the panel goes, and with it the program's
        // windows their menu; its one entry quits.
        const QStringList windowsBefore = visibleWindows(app.pid(), u".*"_s);
        QVERIFY(xdotool({u"mousemove"_s, u"960"_s, u"10"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(app.panelMapped(), timeout);
        QVERIFY(xdotool({u"mousemove"_s, QString::number(icon.x()), QString::number(icon.y()), u"click"_s, u"3"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(!app.panelMapped(), timeout);
        QStringList windows;
        QTRY_COMPARE_WITH_TIMEOUT((windows = visibleWindows(app.pid(), u".*"_s)).size(), windowsBefore.size() + 1,
                                  timeout);
        const QString menu = *std::find_if(windows.cbegin(), windows.cend(), [&](const QString &window) {
            return !windowsBefore.contains(window);
        });
        QTRY_COMPARE_WITH_TIMEOUT(run(u"xdotool"_s, {u"getwindowfocus"_s}).out, menu, timeout);
        QVERIFY(xdotool({u"key"_s, u"Down"_s, u"Return"_s}));
        QVERIFY(app.process().waitForFinished(timeout));
        QCOMPARE(app.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(app.process().exitCode(), 0);
        QVERIFY(xdotool({u"mousemove"_s, u"100"_s, u"700"_s}));
    }

private:
    QProcess m_compositor;
};

MARLOWICK_TEST(MarlowickX11Test)
#include "marlowick_x11_test.moc"
