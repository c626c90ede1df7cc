// The real marlowick program on the desktops people run: every combination
// of scale, monitors, compositing manager, top panel and window manager, one
// private X server and one start of the program per combination, with that
// desktop's checks grouped. Needs no display of its own.
#include "virtual_desktop.h"

#include "support/test_main.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DesktopKind)

namespace {

constexpr int timeout = 20000;

// marlowick on a desktop, with settings and runtime folders of its own.
class Marlowick
{
public:
    explicit Marlowick(const VirtualDesktop &desktop)
    {
        QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = desktop.environment();
        environment.insert(u"XDG_CONFIG_HOME"_s, m_config.path());
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
        environment.insert(u"QT_LOGGING_RULES"_s, u"marlowick.app.info=true"_s);
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(MARLOWICK_BINARY), {});
    }
    ~Marlowick()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(m_process.processId()), SIGTERM);
        if (!m_process.waitForFinished(timeout))
            m_process.kill();
    }

    QString log()
    {
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_log;
    }
    // Whether the stored list holds the text (the settings file escapes
    // only quotes, backslashes and bytes beyond ASCII).
    bool stored(const QByteArray &text) const
    {
        QFile file(m_config.filePath(u"marlowick/marlowick.conf"_s));
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(text);
    }
    bool waitUntilReady()
    {
        return QTest::qWaitFor([this] { return log().contains(u"ready:"_s) || m_process.state() == QProcess::NotRunning; },
                               timeout)
            && m_process.state() == QProcess::Running;
    }

private:
    QTemporaryDir m_config;
    QTemporaryDir m_runtime;
    QProcess m_process;
    QString m_log;
};

QString describe(const QRect &rect)
{
    return u"%1x%2+%3+%4"_s.arg(rect.width()).arg(rect.height()).arg(rect.x()).arg(rect.y());
}

} // namespace

class DesktopMatrixX11Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onEveryDesktop_data()
    {
        QTest::addColumn<DesktopKind>("kind");
        using Monitors = DesktopKind::Monitors;
        const std::pair<Monitors, const char *> monitorKinds[] = {
            {Monitors::One, "one monitor"}, {Monitors::PrimaryLeft, "primary left"},
            {Monitors::PrimaryRight, "primary right"}};
        for (qreal scale : {1.0, 2.0, 1.5}) {
            for (const auto &[monitors, monitorsName] : monitorKinds) {
                for (bool compositing : {false, true}) {
                    for (bool topPanel : {true, false}) {
                        for (bool windowManager : {false, true}) {
                            const QByteArray name = "scale " + QByteArray::number(scale) + ", " + monitorsName
                                + (compositing ? ", composited" : "") + (topPanel ? ", top panel" : ", no top panel")
                                + (windowManager ? ", openbox" : "");
                            QTest::newRow(name.constData())
                                << DesktopKind{scale, monitors, compositing, topPanel, windowManager};
                        }
                    }
                }
            }
        }
    }

    void onEveryDesktop()
    {
        QFETCH(DesktopKind, kind);
        VirtualDesktop desktop(kind);
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        Marlowick app(desktop);
        QVERIFY2(app.waitUntilReady(), qPrintable(app.log()));

        checkStripIsAtTheTopCentreOfThePrimaryMonitor(desktop, app);
        if (QTest::currentTestFailed())
            return;
        // A window of another program below the panel's left margin, which
        // the 340-pixel body leaves free.
        const QRect panel = expectedPanel(desktop);
        const QRect margin(panel.x(), panel.y() + qRound(100 * kind.scale), qRound(15 * kind.scale),
                           qRound(100 * kind.scale));
        const quint32 below = desktop.createPressRecorder(margin);
        QVERIFY(below);

        checkOpeningFromTheStrip(desktop);
        if (QTest::currentTestFailed())
            return;
        checkTypingAfterAnotherWindowTookTheKeyboard(desktop, app, below);
        if (QTest::currentTestFailed())
            return;
        checkPressBesideTheBodyReachesTheWindowBelow(desktop, margin, below);
    }

    void followsEveryChangeOfTheDesktop()
    {
        VirtualDesktop desktop(DesktopKind{2, DesktopKind::Monitors::PrimaryLeft, false, false, false});
        QVERIFY2(desktop.problem().isEmpty(), qPrintable(desktop.problem()));
        Marlowick app(desktop);
        QVERIFY2(app.waitUntilReady(), qPrintable(app.log()));
        QVERIFY2(app.log().contains(u"ready: sensor 400x1+1720+0 (screen edge)"_s), qPrintable(app.log()));

        const auto sensorBecomes = [&](const QString &expected) {
            return QTest::qWaitFor([&] { return app.log().endsWith(u"screens changed: sensor "_s + expected + u'\n'); },
                                   timeout);
        };
        QVERIFY(desktop.setTopPanel(true));
        QVERIFY2(sensorBecomes(u"400x64+1720+0"_s), qPrintable(app.log()));
        // The right monitor (3200 pixels wide, from x = 3840) has no panel.
        QVERIFY(desktop.swapPrimaryMonitor());
        QVERIFY2(sensorBecomes(u"400x1+5240+0 (screen edge)"_s), qPrintable(app.log()));
        QVERIFY(desktop.swapPrimaryMonitor());
        QVERIFY2(sensorBecomes(u"400x64+1720+0"_s), qPrintable(app.log()));
        QVERIFY(desktop.setTopPanel(false));
        QVERIFY2(sensorBecomes(u"400x1+1720+0 (screen edge)"_s), qPrintable(app.log()));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.windowRect(desktop.mappedWindow("Marlowick notch sensor")),
                                  QRect(1720, 0, 400, 1), timeout);
    }

private:
    // Where the pointer meets the strip, in the X server's pixels.
    static QRect expectedSensor(const VirtualDesktop &desktop)
    {
        const DesktopKind &kind = desktop.kind();
        const QRect monitor = desktop.primaryMonitor();
        const int width = qRound(200 * kind.scale);
        const int height = kind.topPanel ? qRound(32 * kind.scale) : 1;
        return QRect(monitor.x() + monitor.width() / 2 - width / 2, monitor.y(), width, height);
    }

    static QRect expectedPanel(const VirtualDesktop &desktop)
    {
        const qreal scale = desktop.kind().scale;
        const QRect monitor = desktop.primaryMonitor();
        const QSize size(qRound(380 * scale), qRound(520 * scale));
        return QRect(QPoint(monitor.x() + monitor.width() / 2 - size.width() / 2, monitor.y()), size);
    }

    void checkStripIsAtTheTopCentreOfThePrimaryMonitor(VirtualDesktop &desktop, Marlowick &app)
    {
        const QRect sensor = expectedSensor(desktop);
        QVERIFY2(app.log().contains(u"ready: sensor "_s + describe(sensor)), qPrintable(app.log()));
        QVERIFY2(app.log().contains(u"(screen edge)"_s) != desktop.kind().topPanel, qPrintable(app.log()));
        quint32 window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = desktop.mappedWindow("Marlowick notch sensor")) != 0, timeout);
        QCOMPARE(desktop.windowRect(window), sensor);
    }

    void checkOpeningFromTheStrip(VirtualDesktop &desktop)
    {
        // On a bare edge the pointer rests there until the panel comes.
        const QRect sensor = expectedSensor(desktop);
        QVERIFY(desktop.run(u"xdotool"_s, {u"mousemove"_s, QString::number(sensor.center().x()),
                                           QString::number(sensor.center().y())}));
        quint32 panel = 0;
        QTRY_VERIFY_WITH_TIMEOUT((panel = desktop.mappedWindow("Marlowick")) != 0, timeout);
        QCOMPARE(desktop.windowRect(panel), expectedPanel(desktop));
        // To look at each desktop with the panel open:
        // MARLOWICK_DESKTOP_SHOTS=folder tst_desktop_matrix_x11
        if (const QString folder = qEnvironmentVariable("MARLOWICK_DESKTOP_SHOTS"); !folder.isEmpty()) {
            QTest::qWait(600); // the opening spring, for the picture only
            const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u", "_s, u"_"_s);
            desktop.run(u"import"_s, {u"-window"_s, u"root"_s, folder + u'/' + name + u".png"_s});
        }
    }

    void checkTypingAfterAnotherWindowTookTheKeyboard(VirtualDesktop &desktop, Marlowick &app, quint32 other)
    {
        // Another program takes the keyboard while the panel is open; a
        // click into the add field gives it back to the panel.
        QVERIFY(desktop.giveKeyboardTo(other));
        const QRect panel = expectedPanel(desktop);
        const qreal scale = desktop.kind().scale;
        const QPoint field(panel.width() / 2, qRound(185 * scale));
        // Clicked once the body has sprung open that far.
        const quint32 window = desktop.mappedWindow("Marlowick");
        QTRY_VERIFY_WITH_TIMEOUT(desktop.takesPressesAt(window, field), timeout);
        QVERIFY(desktop.run(u"xdotool"_s, {u"mousemove"_s, QString::number(panel.x() + field.x()),
                                           QString::number(panel.y() + field.y()), u"click"_s, u"1"_s}));
        // As a person, the keys come once the click has given the panel the keyboard.
        QTRY_COMPARE_WITH_TIMEOUT(desktop.inputFocus(), window, timeout);
        QVERIFY(desktop.run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"20"_s, u"milk"_s}));
        QVERIFY(desktop.run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        QTRY_VERIFY2_WITH_TIMEOUT(app.stored("milk"), qPrintable(app.log()), timeout);
    }

    void checkPressBesideTheBodyReachesTheWindowBelow(VirtualDesktop &desktop, const QRect &margin, quint32 below)
    {
        QVERIFY(desktop.run(u"xdotool"_s, {u"mousemove"_s, QString::number(margin.center().x()),
                                           QString::number(margin.center().y())}));
        // Still open (it closes half a second after the pointer left it).
        QVERIFY(desktop.mappedWindow("Marlowick"));
        QVERIFY(desktop.run(u"xdotool"_s, {u"click"_s, u"1"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(desktop.pressesSeen(below), 1, timeout);
    }
};

MARLOWICK_TEST(DesktopMatrixX11Test)
#include "desktop_matrix_x11_test.moc"
