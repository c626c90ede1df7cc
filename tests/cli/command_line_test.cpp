#include "cli/command_line.h"
#include "cli/day_argument.h"
#include "model/day_calendar.h"

#include "model/test_instants.h"

#include <QTest>

using namespace Qt::StringLiterals;

using Action = CommandLine::Action;

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsesEachCommandAndRefusesWrongArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Action>("action");
        // For a command: its name, title, day and flag set; for a usage
        // error: part of the message.
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("flag");

        const auto run = Action::RunCommand;
        const auto error = Action::UsageError;
        QTest::newRow("start") << QStringList{} << Action::StartProgram << u""_s << u""_s << u"today"_s << u""_s;
        QTest::newRow("Qt's options") << QStringList{u"-platform"_s, u"offscreen"_s} << Action::StartProgram << u""_s
                                      << u""_s << u"today"_s << u""_s;
        QTest::newRow("start for show --add") << QStringList{u"--open-panel=add"_s} << Action::StartProgram << u""_s
                                              << u""_s << u"today"_s << u"add"_s;
        QTest::newRow("help anywhere") << QStringList{u"count"_s, u"--help"_s} << Action::ShowHelp << u""_s << u""_s
                                       << u"today"_s << u""_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << Action::ShowVersion << u""_s << u""_s << u"today"_s
                                 << u""_s;
        QTest::newRow("add joins words") << QStringList{u"add"_s, u"Buy"_s, u"oat milk"_s} << run << u"add"_s
                                         << u"Buy oat milk"_s << u"today"_s << u""_s;
        QTest::newRow("add --day before") << QStringList{u"add"_s, u"--day"_s, u"-3"_s, u"Call"_s, u"Mum"_s} << run
                                          << u"add"_s << u"Call Mum"_s << u"-3"_s << u""_s;
        QTest::newRow("add --day= after") << QStringList{u"add"_s, u"Pay"_s, u"--day=2026-01-31"_s} << run << u"add"_s
                                          << u"Pay"_s << u"2026-01-31"_s << u""_s;
        QTest::newRow("add after --") << QStringList{u"add"_s, u"--"_s, u"--verbose"_s, u"-1"_s} << run << u"add"_s
                                      << u"--verbose -1"_s << u"today"_s << u""_s;
        QTest::newRow("list --json") << QStringList{u"list"_s, u"--json"_s, u"--day"_s, u"Tomorrow"_s} << run
                                     << u"list"_s << u""_s << u"Tomorrow"_s << u"json"_s;
        QTest::newRow("count --open") << QStringList{u"count"_s, u"--open"_s} << run << u"count"_s << u""_s
                                      << u"today"_s << u"open"_s;
        QTest::newRow("show --add") << QStringList{u"show"_s, u"--add"_s} << run << u"show"_s << u""_s << u"today"_s
                                    << u"add"_s;
        QTest::newRow("unknown command") << QStringList{u"frob"_s} << error << u"unknown command \"frob\""_s << QString() << QString() << QString();
        QTest::newRow("unknown option") << QStringList{u"--frob"_s} << error << u"unknown option --frob"_s << QString() << QString() << QString();
        QTest::newRow("no title") << QStringList{u"add"_s, u"--day=+1"_s} << error << u"needs the title"_s << QString() << QString() << QString();
        QTest::newRow("blank title") << QStringList{u"add"_s, u" \n "_s, u"\t"_s} << error << u"blank"_s << QString() << QString() << QString();
        QTest::newRow("title too long") << QStringList{u"add"_s, QString(10001, u'x')} << error
                                        << u"10001 characters long"_s << QString() << QString() << QString();
        QTest::newRow("not a day") << QStringList{u"list"_s, u"--day"_s, u"someday"_s} << error << u"not a day"_s << QString() << QString() << QString();
        QTest::newRow("no such date") << QStringList{u"count"_s, u"--day=2026-02-30"_s} << error << u"not a day"_s << QString() << QString() << QString();
        QTest::newRow("day missing") << QStringList{u"list"_s, u"--day"_s} << error << u"needs a day"_s << QString() << QString() << QString();
        QTest::newRow("day twice") << QStringList{u"list"_s, u"--day=+1"_s, u"--day=-1"_s} << error << u"twice"_s << QString() << QString() << QString();
        QTest::newRow("option of another") << QStringList{u"count"_s, u"--json"_s} << error
                                           << u"count has no option --json"_s << QString() << QString() << QString();
        QTest::newRow("flag with value") << QStringList{u"show"_s, u"--add=yes"_s} << error << u"takes no value"_s << QString() << QString() << QString();
        QTest::newRow("stray argument") << QStringList{u"toggle"_s, u"now"_s} << error
                                        << u"toggle takes no argument \"now\""_s << QString() << QString() << QString();
    }

    void parsesEachCommandAndRefusesWrongArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, command);
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.action, action);
        if (action == Action::UsageError) {
            QVERIFY2(line.error.contains(command), qPrintable(line.error));
            return;
        }
        QFETCH(QString, title);
        QFETCH(QString, day);
        QFETCH(QString, flag);
        if (action == Action::RunCommand)
            QCOMPARE(CommandRequest::nameOf(line.request.command), command);
        QCOMPARE(line.request.title, title);
        QCOMPARE(line.request.day, day);
        QCOMPARE(line.request.json, flag == u"json"_s);
        QCOMPARE(line.request.openOnly, flag == u"open"_s);
        QCOMPARE(line.request.addField, flag == u"add"_s);
        QCOMPARE(line.opensPanel, arguments.value(0).startsWith(u"--open-panel"_s));
    }

    void namesDaysAsThePanelStepsThem_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("day"); // local start, ISO; empty: none
        QTest::newRow("today") << u"today"_s << u"2026-03-07T00:00:00-05:00"_s;
        QTest::newRow("+0") << u"+0"_s << u"2026-03-07T00:00:00-05:00"_s;
        QTest::newRow("yesterday") << u"yesterday"_s << u"2026-03-06T00:00:00-05:00"_s;
        QTest::newRow("tomorrow, summer time at 2:00") << u"tomorrow"_s << u"2026-03-08T00:00:00-05:00"_s;
        QTest::newRow("+2, in summer time") << u"+2"_s << u"2026-03-09T00:00:00-04:00"_s;
        QTest::newRow("-400") << u"-400"_s << u"2025-01-31T00:00:00-05:00"_s;
        QTest::newRow("a leap day") << u"2028-02-29"_s << u"2028-02-29T00:00:00-05:00"_s;
        QTest::newRow("beyond the calendar") << u"+99999999"_s << u""_s;
        QTest::newRow("ten digits") << u"+1234567890"_s << u""_s;
        QTest::newRow("no number") << u"+"_s << u""_s;
        QTest::newRow("short date") << u"2026-3-7"_s << u""_s;
    }

    void namesDaysAsThePanelStepsThem()
    {
        QFETCH(QString, text);
        QFETCH(QString, day);
        const QTimeZone zone("America/New_York");
        const DayCalendar calendar(zone, QLocale::c());
        const auto start = DayArgument::resolve(text, calendar, instantAt(zone, 2026, 3, 7, 15, 30));
        QCOMPARE(start ? localDateTime(zone, *start).toString(Qt::ISODate) : QString(), day);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
