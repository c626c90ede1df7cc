// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "cli/command_line.h"
#include "commands/day_argument.h"
#include "model/day_calendar.h"

#include "support/model/test_instants.h"

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
        // For a command: its name, title, day and flag set, joined by '|';
        // for a usage error: part of the message.
        QTest::addColumn<QString>("expected");
        const auto run = Action::RunCommand;
        const auto error = Action::UsageError;
        QTest::newRow("start") << QStringList{} << Action::StartProgram << u"||today|"_s;
        QTest::newRow("Qt's options") << QStringList{u"-platform"_s, u"offscreen"_s} << Action::StartProgram
                                      << u"||today|"_s;
        QTest::newRow("start for show --add")
            << QStringList{u"--open-panel=add"_s} << Action::StartProgram << u"||today|add"_s;
        QTest::newRow("help anywhere") << QStringList{u"count"_s, u"--help"_s} << Action::ShowHelp << u"||today|"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << Action::ShowVersion << u"||today|"_s;
        QTest::newRow("add joins words") << QStringList{u"add"_s, u"Buy"_s, u"oat milk"_s} << run
                                         << u"add|Buy oat milk|today|"_s;
        QTest::newRow("add --day before")
            << QStringList{u"add"_s, u"--day"_s, u"-3"_s, u"Call"_s, u"Mum"_s} << run << u"add|Call Mum|-3|"_s;
        QTest::newRow("add --day= after")
            << QStringList{u"add"_s, u"Pay"_s, u"--day=2026-01-31"_s} << run << u"add|Pay|2026-01-31|"_s;
        QTest::newRow("add after --") << QStringList{u"add"_s, u"--"_s, u"--verbose"_s, u"-1"_s} << run
                                      << u"add|--verbose -1|today|"_s;
        QTest::newRow("list --json") << QStringList{u"list"_s, u"--json"_s, u"--day"_s, u"Tomorrow"_s} << run
                                     << u"list||Tomorrow|json"_s;
        QTest::newRow("count --open") << QStringList{u"count"_s, u"--open"_s} << run << u"count||today|open"_s;
        QTest::newRow("show --add") << QStringList{u"show"_s, u"--add"_s} << run << u"show||today|add"_s;
        QTest::newRow("unknown command") << QStringList{u"frob"_s} << error << u"unknown command \"frob\""_s;
        QTest::newRow("unknown option") << QStringList{u"--frob"_s} << error << u"unknown option --frob"_s;
        QTest::newRow("no title") << QStringList{u"add"_s, u"--day=+1"_s} << error << u"needs the title"_s;
        QTest::newRow("blank title") << QStringList{u"add"_s, u" \n "_s, u"\t"_s} << error << u"blank"_s;
        QTest::newRow("title too long") << QStringList{u"add"_s, QString(10001, u'x')} << error
                                        << u"10001 characters long"_s;
        // Characters as a field counts them: an emoji is one, not two UTF-16 units.
        QTest::newRow("10,000 emoji") << QStringList{u"add"_s, u"\U0001F600"_s.repeated(10000)} << run
                                      << u"add|%1|today|"_s.arg(u"\U0001F600"_s.repeated(10000));
        QTest::newRow("10,001 emoji") << QStringList{u"add"_s, u"\U0001F600"_s.repeated(10001)} << error
                                      << u"10001 characters long"_s;
        QTest::newRow("day in whitespace")
            << QStringList{u"count"_s, u"--day= today\n"_s} << run << u"count|| today\n|"_s;
        QTest::newRow("not a day") << QStringList{u"list"_s, u"--day"_s, u"someday"_s} << error << u"not a day"_s;
        QTest::newRow("no such date") << QStringList{u"count"_s, u"--day=2026-02-30"_s} << error << u"not a day"_s;
        QTest::newRow("day missing") << QStringList{u"list"_s, u"--day"_s} << error << u"needs a day"_s;
        QTest::newRow("day twice") << QStringList{u"list"_s, u"--day=+1"_s, u"--day=-1"_s} << error << u"twice"_s;
        QTest::newRow("option of another")
            << QStringList{u"count"_s, u"--json"_s} << error << u"count has no option --json"_s;
        QTest::newRow("flag with value") << QStringList{u"show"_s, u"--add=yes"_s} << error << u"takes no value"_s;
        QTest::newRow("stray argument") << QStringList{u"toggle"_s, u"now"_s} << error
                                        << u"toggle takes no argument \"now\""_s;
    }

    void parsesEachCommandAndRefusesWrongArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Action, action);
        QFETCH(QString, expected);
        const CommandLine line = CommandLine::parse(arguments);
        QCOMPARE(line.action, action);
        if (action == Action::UsageError) {
            QVERIFY2(line.error.contains(expected), qPrintable(line.error));
            return;
        }
        const CommandRequest &r = line.request;
        const QString flag = QString(r.json ? u"json"_s : QString()) + (r.openOnly ? u"open"_s : QString())
            + (r.addField ? u"add"_s : QString());
        const QString command = action == Action::RunCommand ? CommandRequest::nameOf(r.command) : QString();
        QCOMPARE(QStringList({command, r.title, r.day, flag}).join(u'|'), expected);
        QCOMPARE(line.opensPanel, arguments.value(0).startsWith(u"--open-panel"_s));
    }

    void readsArgumentsInTheLocaleEncoding()
    {
        QByteArray bom = "add";
        QByteArray title = "\xef\xbb\xbf"
                           "Buy milk";
        char *kept[] = {bom.data(), bom.data(), title.data(), nullptr};
        const CommandLine line = CommandLine::parse(3, kept);
        QVERIFY2(line.request.title == u"\uFEFFBuy milk"_s, qPrintable(line.error + line.request.title));
        QByteArray latin1 = "Caf\xe9";
        char *refused[] = {bom.data(), bom.data(), latin1.data(), nullptr};
        QCOMPARE(CommandLine::parse(3, refused).action, Action::UsageError);
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
        QTest::newRow("whitespace around") << u" +2\n"_s << u"2026-03-09T00:00:00-04:00"_s;
        QTest::newRow("a line break inside") << u"+\n2"_s << u""_s;
    }

    void namesDaysAsThePanelStepsThem()
    {
        QFETCH(QString, text);
        QFETCH(QString, day);
        const QTimeZone zone("America/New_York");
        const DayCalendar calendar(zone, QLocale::c());
        const auto start = DayArgument::resolve(text, calendar, instantAt(zone, 2026, 3, 7, 15, 30));
        QCOMPARE(start ? QDateTime::fromMSecsSinceEpoch(*Instant::toUnixMsecs(*start), zone).toString(Qt::ISODate)
                       : QString(),
                 day);
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
