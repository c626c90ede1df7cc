// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/json_list_writer.h"
#include "storage/settings_file_text.h"
#include "storage/todo_storage.h"
#include "support/storage/settings_byte_array.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes that exercise every escape: controls, quotes, separators, hex digits
// right after numeric escapes, and every byte above ASCII.
QByteArray randomBytes(QRandomGenerator &random)
{
    static const QByteArray tricky = QByteArrayLiteral("\0\x01\x1f\x7f\x80\xff\"\\;,= 0aF9\n\r\t\a\b\f\v?'()@[]%");
    QByteArray bytes;
    const int length = random.bounded(0, 120);
    for (int i = 0; i < length; ++i) {
        switch (random.bounded(3)) {
        case 0:
            bytes.append(tricky.at(random.bounded(int(tricky.size()))));
            break;
        case 1:
            bytes.append(char(random.bounded(256)));
            break;
        default:
            bytes.append(char(random.bounded(0x20, 0x7f)));
        }
    }
    return bytes;
}

// Titles with every kind of character the two escapings meet: quotes,
// backslashes, separators, controls, DEL, hex digits right after non-ASCII
// letters, characters beyond the BMP and a lone surrogate.
QList<TodoItem> randomItems(QRandomGenerator &random)
{
    static const QList<QString> pieces = {
        u"a"_s,           u"0"_s,
        u"f"_s,           u"F"_s,
        u"9"_s,           u"\""_s,
        u"\\"_s,          u";"_s,
        u","_s,           u"="_s,
        u" "_s,           u"\n"_s,
        u"\t"_s,          u"\r"_s,
        u"\x01"_s,        u"\x1f"_s,
        u"\x7f"_s,        u"é"_s,
        u"日"_s,          u"\u2028"_s,
        u"🎉"_s,           QString(QChar(0xd800)),
        u"@ByteArray("_s, u")"_s,
        u"%"_s,
    };
    QList<TodoItem> items;
    const int count = random.bounded(0, 6);
    for (int i = 0; i < count; ++i) {
        QString title;
        for (int n = random.bounded(0, 30); n > 0; --n)
            title += pieces.at(random.bounded(int(pieces.size())));
        items.append(TodoItem{QUuid::createUuid(), title, random.bounded(2) == 1, random.generateDouble() * 1e9 - 5e8,
                              double(random.bounded(-100000, 100000)) * 86400});
    }
    return items;
}

} // namespace

class SettingsFileTextTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheListAsQSettingsWouldInOnePassOrFromWhatItRemembers()
    {
        QRandomGenerator random(7);
        JsonListWriter::SettingsValueWriter writer;
        QList<TodoItem> items;
        for (int step = 0; step < 3000; ++step) {
            const QList<TodoItem> more = randomItems(random);
            switch (random.bounded(7)) {
            case 0:
                items = more + items;
                break; // added
            case 1:
                if (!items.isEmpty())
                    items.removeAt(random.bounded(int(items.size())));
                break;
            case 2:
                if (!items.isEmpty())
                    items[random.bounded(int(items.size()))].isCompleted ^= true;
                break;
            case 3:
                if (!items.isEmpty() && !more.isEmpty())
                    items[0].title = more.first().title;
                break;
            case 4:
                if (items.size() > 1)
                    items.move(0, items.size() - 1);
                break; // reordered
            case 5:
                if (!items.isEmpty())
                    items.append(items.first());
                break; // the same id twice
            case 6:
                if (items.size() > 1) {
                    items[1].id = items[0].id;
                    items[1].date += 1;
                }
                break;
            }
            // One pass, and a writer that remembers to-dos, write what
            // QSettings would.
            const QByteArray expected = settingsByteArrayText(JsonListWriter::json(items).value());
            QCOMPARE(JsonListWriter::settingsValue(items), expected);
            QCOMPARE(writer.write(items), expected);
        }
        // A number JSON cannot hold fails the write, and the next one is whole.
        items.append(TodoItem{QUuid::createUuid(), u"x"_s, false, std::numeric_limits<double>::infinity(), 0});
        QVERIFY(!writer.write(items));
        items.removeLast();
        QCOMPARE(writer.write(items), JsonListWriter::settingsValue(items));
        QCOMPARE(writer.write({}), QByteArray("@ByteArray([])"));
    }

    void writesTheSameFileAsQSettings()
    {
        QTemporaryDir dir;
        QRandomGenerator random(20261206);
        for (int round = 0; round < 100; ++round) {
            const QList<TodoItem> items = randomItems(random);
            const QByteArray json = *JsonListWriter::json(items);
            const QString ours = dir.filePath(u"ours-%1.conf"_s.arg(round));
            const QString theirs = dir.filePath(u"theirs-%1.conf"_s.arg(round));
            const QByteArray bytes = randomBytes(random);
            // Both files start with other keys and sections of QSettings'
            // making, in every form it writes them.
            for (const QString &path : {ours, theirs}) {
                QSettings settings(path, QSettings::NativeFormat);
                settings.setValue(u"zz.other"_s, u"kept; \"as\" it was, = \\"_s);
                settings.setValue(u"Window/size"_s, round);
                settings.setValue(u"Größe & Ω/a key%"_s, QStringList{u"a"_s, u"b;c"_s});
                settings.setValue(u"general/x"_s, bytes);
                if (round % 2)
                    settings.setValue(u"marlowick.items"_s, QByteArray("old"));
            }
            QSettings(theirs, QSettings::NativeFormat).setValue(u"marlowick.items"_s, json);
            SettingsTodoStorage storage(ours);
            QVERIFY(storage.write(u"marlowick.items"_s, items));

            QCOMPARE(readFile(ours), readFile(theirs));
            QCOMPARE(storage.value(u"marlowick.items"_s).toByteArray(), json);
            // And what it writes of any bytes, it reads back as they were.
            QCOMPARE(SettingsFileText::decodeByteArray(settingsByteArrayText(bytes)), bytes);
        }
        // Every file was read as QSettings reads it: none was copied aside.
        QCOMPARE(QDir(dir.path()).entryList({u"*unreadable*"_s}), QStringList());
    }

    void findsTheFileWhereQSettingsKeepsIt()
    {
        QTemporaryDir dir;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, u"marlowick"_s, u"marlowick"_s);
        QCOMPARE(SettingsTodoStorage::defaultFileName(), settings.fileName());
        QCOMPARE(SettingsTodoStorage::defaultFileName(), dir.filePath(u"marlowick/marlowick.conf"_s));
        qunsetenv("XDG_CONFIG_HOME");
    }
};

QTEST_GUILESS_MAIN(SettingsFileTextTest)
#include "settings_file_text_test.moc"
