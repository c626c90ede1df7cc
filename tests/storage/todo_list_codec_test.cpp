// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/todo_list_codec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cmath>
#include <cstring>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

TodoItem makeItem(const QString &title, double createdAt = 786000000.25, double date = 785980800)
{
    return TodoItem{QUuid::createUuid(), title, false, createdAt, date};
}

QByteArray itemJson(const QByteArray &members)
{
    return "[{" + members + "}]";
}

const QByteArray validMembers =
    R"("id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"Milk","isCompleted":false,"createdAt":786000000.5,"date":785980800)";

bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

class TodoListCodecTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTripKeepsEveryTitleAndNumber()
    {
        const QStringList titles = {
            u"say \"hi\" to \\ the /slash/"_s, u"line one\nline two\r\nthree\ttabbed"_s,
            u"control \u0001\u001f bytes"_s,   u"Crème brûlée, 日本語, Ελληνικά 🎉"_s,
            u"<b>milk</b> & <i>eggs</i>"_s,    u"separators \u2028 \u2029 \u0085"_s,
        };
        QList<TodoItem> items;
        for (const QString &title : titles)
            items.append(makeItem(title));
        items.append(makeItem(u"\ufeff\ufeffmarked"_s)); // byte order marks at the start are part of the title too
        QString huge(10 * 1024 * 1024, u'x');
        huge[5] = u'"';
        huge[huge.size() - 3] = u'é';
        items.append(makeItem(huge));
        for (double number : {0.1, -978307200.0, 786000000.123456789, 1e-300, 1e300, std::numeric_limits<double>::max(),
                              std::numeric_limits<double>::denorm_min(), 9007199254740993.0, 1e20, -123456.5})
            items.append(makeItem(u"n"_s, number, -number));
        items[1].isCompleted = true;

        const auto encoded = TodoListCodec::encode(items);
        const auto decoded = TodoListCodec::decode(encoded.value());
        QCOMPARE(decoded.value(), items);
        for (qsizetype i = 0; i < items.size(); ++i) {
            QVERIFY2(sameBits(decoded->at(i).createdAt, items.at(i).createdAt), qPrintable(QString::number(i)));
            QVERIFY(sameBits(decoded->at(i).date, items.at(i).date));
        }
        // A standard JSON reader agrees on every title.
        const QJsonArray array = QJsonDocument::fromJson(*encoded).array();
        for (qsizetype i = 0; i < titles.size(); ++i)
            QCOMPARE(array.at(i)[u"title"_s].toString(), titles.at(i));
    }

    void writesCompactJsonWithUpperCaseIdsAndRefusesNumbersThatAreNotJson()
    {
        const TodoItem item{QUuid::fromString(u"e621e1f8-c36c-495a-93fc-0c247a3e6e5f"_s), u"a b"_s, true, 1.5, -2};
        QCOMPARE(TodoListCodec::encode({item}).value(),
                 QByteArray(R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","title":"a b","isCompleted":true,)"
                            R"("createdAt":1.5,"date":-2}])"));
        QCOMPARE(*TodoListCodec::encode({}), QByteArray("[]"));
        QCOMPARE(TodoListCodec::decode(" [ ] ")->size(), 0);
        QVERIFY(!TodoListCodec::encode({makeItem(u"x"_s, std::numeric_limits<double>::infinity())}));
        QVERIFY(!TodoListCodec::encode({makeItem(u"x"_s, 0, std::nan(""))}));
    }

    void readsWhatOtherWritersProduce()
    {
        // Lower-case ids, integers, extra members, escapes and any member order.
        const QByteArray json = R"([{"date":785980800,"extra":{"nested":[1,2]},"title":"Tea \u00e9\/ok",)"
                                R"("isCompleted":true,"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","createdAt":-1}])";
        const auto decoded = TodoListCodec::decode(json);
        const TodoItem expected{QUuid::fromString(u"E621E1F8-C36C-495A-93FC-0C247A3E6E5F"_s), u"Tea é/ok"_s, true, -1,
                                785980800};
        QCOMPARE(decoded.value(), QList<TodoItem>{expected});
        QVERIFY(!TodoListCodec::encode(*decoded)->contains("extra"));

        // Escaped member names, duplicates (the last one counts), white space
        // everywhere, exponents and escaped surrogate pairs.
        const auto odd = TodoListCodec::decode(
            " [ {\"\\u0069d\" : \"e621e1f8-c36c-495a-93fc-0c247a3e6e5f\",\r\n\t\"title\":\"old\", "
            "\"title\":\"\\ud83c\\udf89 \\u00e9\\/\\b\\f\\u0000\", \"isCompleted\":false,"
            "\"createdAt\":7.86E+8,\"date\":-0.5e-3, \"x\":[null,true,{},[],{\"a\":[{}]},\"s\",-1.5] } ] ");
        QCOMPARE(odd.value().first().title, QString(u"🎉 é/\b\f"_s + QChar(0)));
        QCOMPARE(odd->first().createdAt, 786000000.0);
        QCOMPARE(odd->first().date, -0.0005);

        // Integers beyond 2^53 read as the nearest double, as any JSON reader does.
        const auto big =
            TodoListCodec::decode(itemJson(QByteArray(validMembers).replace("786000000.5", "9007199254740993")));
        QCOMPARE(big.value().first().createdAt, 9007199254740992.0);

        // Half a surrogate pair (a broken emoji, as Python writes it) reads
        // as one U+FFFD, where QJsonDocument shows one; every to-do is read,
        // and the caller told that the list was not read exactly.
        bool inexact = true;
        QVERIFY(TodoListCodec::decode(itemJson(validMembers), &inexact) && !inexact);
        const QList<std::pair<QByteArray, QString>> halves = {{R"(\ud83d)", u"\ufffd"_s},
                                                              {R"(a\ude00\ud83d)", u"a\ufffd\ufffd"_s},
                                                              {R"(\ud83d\u0041)", u"\ufffdA"_s},
                                                              {R"(\ud83d\ud83d\ude00)", u"\ufffd😀"_s}};
        QByteArray list = "[{" + validMembers + "}";
        for (const auto &[escaped, title] : halves)
            list += ",{" + QByteArray(validMembers).replace("Milk", escaped) + "}";
        const auto read = TodoListCodec::decode(list + "]", &inexact);
        QVERIFY(inexact);
        QCOMPARE(read.value().size(), halves.size() + 1);
        for (qsizetype i = 0; i < halves.size(); ++i)
            QCOMPARE(read->at(i + 1).title, halves.at(i).second);
    }

    void rejectsAnyViolation_data()
    {
        QTest::addColumn<QByteArray>("json");
        const auto with = [](const char *from, const char *to) {
            return itemJson(QByteArray(validMembers).replace(from, to));
        };
        const auto without = [](const char *member) {
            QByteArray members = validMembers;
            const qsizetype start = members.indexOf(QByteArray("\"") + member + "\"");
            qsizetype end = members.indexOf(',', start);
            members.remove(start, end < 0 ? members.size() - start : end - start + 1);
            if (members.endsWith(','))
                members.chop(1);
            return itemJson(members);
        };

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not json") << QByteArray("milk, eggs");
        QTest::newRow("truncated") << itemJson(validMembers).chopped(2);
        QTest::newRow("trailing garbage") << itemJson(validMembers) + "x";
        QTest::newRow("object at top") << "{" + validMembers + "}";
        QTest::newRow("string at top") << QByteArray(R"("[]")");
        QTest::newRow("array of arrays") << QByteArray("[[]]");
        QTest::newRow("one bad element among good") << "[{" + validMembers + "},3,{" + validMembers + "}]";
        for (const char *member : {"id", "title", "isCompleted", "createdAt", "date"}) {
            QTest::newRow(qPrintable(u"missing "_s + QLatin1String(member))) << without(member);
        }
        QTest::newRow("number title") << with(R"("title":"Milk")", R"("title":5)");
        QTest::newRow("string for isCompleted") << with(R"("isCompleted":false)", R"("isCompleted":"false")");
        QTest::newRow("string for createdAt") << with("786000000.5", R"("786000000.5")");
        QTest::newRow("bool for date") << with("785980800", "true");
        QTest::newRow("number too large for a double") << with("785980800", "1e400");
        QTest::newRow("id not a string") << with(R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")", "42");
        QTest::newRow("id in braces") << with(R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")",
                                              R"("{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}")");
        QTest::newRow("id without hyphens")
            << with(R"("E621E1F8-C36C-495A-93FC-0C247A3E6E5F")", R"("E621E1F8C36C495A93FC0C247A3E6E5F")");
        QTest::newRow("id not hex") << with("E621E1F8-C36C", "G621E1F8-C36C");
        QTest::newRow("id too short") << with("0C247A3E6E5F", "0C247A3E6E5");
        QTest::newRow("id with space") << with(R"(6E5F")", R"(6E5F ")");
        QTest::newRow("invalid utf-8 in title") << with("Milk", "Mi\xff\xfelk");
        QTest::newRow("raw control character") << with("Milk", "Mi\tlk");
        QTest::newRow("unknown escape") << with("Milk", "Mi\\xlk");
        QTest::newRow("short unicode escape") << with("Milk", "Mi\\u12");
        QTest::newRow("bad escape after half a pair") << with("Milk", "Mi\\ud83d\\uZZZZ");
        QTest::newRow("leading zero") << with("785980800", "0785980800");
        QTest::newRow("bare minus") << with("785980800", "-");
        QTest::newRow("plus sign") << with("785980800", "+785980800");
        QTest::newRow("dot without digits") << with("785980800", "785980800.");
        QTest::newRow("exponent without digits") << with("785980800", "7e");
        QTest::newRow("null for isCompleted") << with(R"("isCompleted":false)", R"("isCompleted":null)");
        QTest::newRow("misspelt literal") << with(R"("isCompleted":false)", R"("isCompleted":fals)");
        QTest::newRow("byte order mark") << "\xef\xbb\xbf" + itemJson(validMembers);
        QTest::newRow("overlong utf-8") << with("Milk", "Mi\xc0\xafk");
        QTest::newRow("utf-8 surrogate") << with("Milk", "Mi\xed\xa0\x80k");
        QTest::newRow("truncated utf-8") << with("Milk", "Mi\xe6\x97");
        QTest::newRow("missing comma") << with(R"(,"title")", R"( "title")");
        QTest::newRow("trailing comma") << "[{" + validMembers + "},]";
        QTest::newRow("unclosed extra member") << itemJson(validMembers + ",\"x\":[1,{\"a\":2]");
        QTest::newRow("nesting thousands deep") << QByteArray(100000, '[') + QByteArray(100000, ']');
        QTest::newRow("deep nesting in extra member")
            << itemJson(validMembers + ",\"x\":" + QByteArray(5000, '[') + QByteArray(5000, ']'));
    }

    void rejectsAnyViolation()
    {
        QFETCH(QByteArray, json);
        QVERIFY(TodoListCodec::decode(itemJson(validMembers))); // what each row changes
        QVERIFY(!TodoListCodec::decode(json));
    }
};

QTEST_GUILESS_MAIN(TodoListCodecTest)
#include "todo_list_codec_test.moc"
