// The marlowick command as a shell, a key binding or a status bar runs it:
// against no running program, against the real program, against a socket
// that answers nonsense, and against a program in this process whose open
// panel shows the change.
#include "app/app_delegate.h"
#include "app/program_commands.h"
#include "app/single_instance.h"
#include "model/todo_store.h"
#include "notch/dropdown_panel.h"
#include "notch/dropdown_panel_controller.h"
#include "storage/todo_storage.h"
#include "views/day_todo_list_model.h"
#include "views/panel_focus_state.h"

#include "fake_pointer_locator.h"
#include "fake_press_monitors.h"
#include "fake_screen_provider.h"
#include "manual_clock_scheduler.h"
#include "support/test_main.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

constexpr int timeout = 20000;

struct Output
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Folders of a user of its own, and no display: a command that tried to open
// one would fail (X11 asked for, DISPLAY unset).
struct Home
{
    QTemporaryDir config;
    QTemporaryDir runtime;

    QString settingsFile() const { return config.filePath(u"marlowick/marlowick.conf"_s); }
    QString socket() const { return runtime.filePath(u"marlowick.socket"_s); }

    // The platform a program started by a command runs on.
    QString platform = u"xcb"_s;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_CONFIG_HOME"_s, config.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
        environment.remove(u"DISPLAY"_s);
        return environment;
    }

    // Runs marlowick to its end; this process's event loop runs meanwhile.
    Output marlowick(const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(MARLOWICK_BINARY), arguments);
        if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeout))
            process.kill();
        process.waitForFinished();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
};

// Whether the process runs; one that has ended but not been reaped (a
// detached one's parent may never reap it) does not.
bool isRunning(pid_t pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) != "Z";
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutTheProgramTheStoredListIsUsedWithoutADisplay()
    {
        Home home;
        QCOMPARE(home.marlowick({u"add"_s, u"  Buy"_s, u"milk  "_s}).exitCode, 0);
        QCOMPARE(home.marlowick({u"add"_s, u"--day"_s, u"tomorrow"_s, u"Pay\nrent"_s}).exitCode, 0);
        QCOMPARE(home.marlowick({u"list"_s}).out, u"[ ] Buy milk\n"_s);
        QCOMPARE(home.marlowick({u"list"_s, u"--day=+1"_s}).out, u"[ ] Pay\\nrent\n"_s);
        QCOMPARE(home.marlowick({u"count"_s, u"--open"_s}).out, u"1\n"_s);
        const Output quit = home.marlowick({u"quit"_s});
        QCOMPARE(quit.exitCode, 0);
        QVERIFY2(quit.err.contains(u"not running"_s), qPrintable(quit.err));
        // Only starting the program needs the display.
        const Output show = home.marlowick({u"show"_s});
        QCOMPARE(show.exitCode, 1);
        QVERIFY2(show.err.contains(u"DISPLAY"_s), qPrintable(show.err));
    }

    void wrongArgumentsAndAnUnreadableListAreRefused()
    {
        Home home;
        for (const QStringList &arguments : {QStringList{u"frob"_s}, QStringList{u"list"_s, u"--day=someday"_s},
                                             QStringList{u"add"_s, u" "_s}, QStringList{u"add"_s, QString(20000, u'x')}}) {
            const Output output = home.marlowick(arguments);
            QCOMPARE(output.exitCode, 2);
            QVERIFY2(output.err.endsWith(u"\nTry \"marlowick --help\".\n"_s), qPrintable(output.err));
        }
        QDir().mkpath(QFileInfo(home.settingsFile()).absolutePath());
        QFile file(home.settingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nmarlowick.items=\"@ByteArray([{\\\"title\\\": \\\"half a to-d)\"\n");
        file.close();
        const QByteArray before = [&] { file.open(QIODevice::ReadOnly); return file.readAll(); }();
        file.close();
        const Output count = home.marlowick({u"count"_s});
        QCOMPARE(count.exitCode, 1);
        QVERIFY2(count.err.startsWith(u"marlowick: Not read: "_s) && count.err.count(u'\n') == 1, qPrintable(count.err));
        const Output add = home.marlowick({u"add"_s, u"Buy milk"_s});
        QCOMPARE(add.exitCode, 1);
        QVERIFY2(add.err.contains(u"nothing was added"_s), qPrintable(add.err));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }

    void aSocketThatAnswersNonsenseOrNothingFails()
    {
        Home home;
        QLocalServer server;
        QVERIFY(server.listen(home.socket()));
        bool answers = true;
        connect(&server, &QLocalServer::newConnection, this, [&] {
            QLocalSocket *client = server.nextPendingConnection();
            if (answers)
                client->write("garbage\n");
        });
        const Output garbage = home.marlowick({u"count"_s});
        QCOMPARE(garbage.exitCode, 1);
        QVERIFY2(garbage.err.contains(u"does not understand"_s), qPrintable(garbage.err));
        answers = false;
        const Output silence = home.marlowick({u"add"_s, u"Buy milk"_s});
        QCOMPARE(silence.exitCode, 1);
        QVERIFY2(silence.err.contains(u"did not answer within 2 s"_s), qPrintable(silence.err));
    }

    void showStartsTheProgramWhichThenCarriesOutEveryCommand()
    {
        Home home;
        home.platform = u"offscreen"_s;
        QCOMPARE(home.marlowick({u"show"_s, u"--add"_s}).exitCode, 0);
        // Started detached, it answers on the socket; it holds the writer lock.
        QFile lock(home.settingsFile() + u".writer.lock"_s);
        QVERIFY(lock.open(QIODevice::ReadOnly));
        const pid_t pid = pid_t(lock.readLine().trimmed().toLongLong());
        const auto stop = qScopeGuard([pid] { ::kill(pid, SIGKILL); });
        QVERIFY(isRunning(pid));

        const Output add = home.marlowick({u"add"_s, u"Water the ferns"_s});
        QVERIFY2(add.exitCode == 0, qPrintable(add.err));
        QCOMPARE(home.marlowick({u"toggle"_s}).exitCode, 0);
        QCOMPARE(home.marlowick({u"list"_s}).out, u"[ ] Water the ferns\n"_s);
        const Output quit = home.marlowick({u"quit"_s});
        QCOMPARE(quit.exitCode, 0);
        QCOMPARE(quit.err, QString());
        QTRY_VERIFY_WITH_TIMEOUT(!isRunning(pid), timeout);
        QCOMPARE(home.marlowick({u"count"_s}).out, u"1\n"_s);
    }

    void aCommandShowsInTheOpenPanelAndEscapeClosesIt()
    {
        Home home;
        FakeScreenProvider screens;
        screens.screenList = {ScreenDescription{QRectF(0, 0, 1920, 1080), 32, 1, {}, {}}};
        ManualClockScheduler scheduler;
        FakePressMonitors monitors;
        FakePointerLocator pointer;
        AppDelegate::Factories factories;
        factories.store = [&] { return std::make_unique<TodoStore>(std::make_unique<SettingsTodoStorage>(home.settingsFile())); };
        factories.statusItem = false;
        AppDelegate delegate(AppDelegate::Services{&screens, &scheduler, &monitors, &pointer}, factories);
        delegate.start();
        SingleInstance instance(home.socket());
        instance.setHandler([&](const CommandRequest &request) { return ProgramCommands::run(request, delegate); });
        QVERIFY(instance.listen());

        QCOMPARE(home.marlowick({u"show"_s, u"--add"_s}).exitCode, 0);
        DropdownPanelController *controller = delegate.panelController();
        QVERIFY(controller->isOpen());
        auto *panel = static_cast<DropdownPanel *>(controller->panel());
        QQuickItem *list = nullptr;
        QVERIFY(QTest::qWaitFor([&] { return (list = panel->rootItem()->property("todoList").value<QQuickItem *>()); }, timeout));
        auto *focus = list->property("focusState").value<PanelFocusState *>();
        QTRY_COMPARE_WITH_TIMEOUT(focus->focusedSection(), PanelFocusState::Input, timeout);

        QCOMPARE(home.marlowick({u"add"_s, u"Buy milk"_s}).exitCode, 0);
        const auto *day = list->property("dayModel").value<DayTodoListModel *>();
        QCOMPARE(day->items().value(0).title, u"Buy milk"_s);

        // Escape in the add field closes the panel; the pointer never came.
        scheduler.advance(std::chrono::seconds(10));
        QVERIFY(controller->isOpen());
        QTest::keyClick(panel, Qt::Key_Escape);
        QVERIFY(!controller->isOpen());
    }
};

MARLOWICK_TEST(CommandsTest)
#include "commands_test.moc"
