#include "model/todo_list_codec.h"
#include "model/todo_storage.h"
#include "model/todo_store.h"

#include "support/test_main.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SettingsStorageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keepsTheListAcrossRestarts()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"marlowick/marlowick.conf"_s);
        QList<TodoItem> saved;
        {
            TodoStore store(std::make_unique<SettingsTodoStorage>(path));
            store.addTodo(u"Quotes \" and \\ and\nlines, = ; # [x]"_s);
            store.addTodo(u"Zwölf Boxkämpfer 🥊"_s);
            saved = store.items();
        }
        QCOMPARE(saved.size(), 2);

        // Stored as bytes of JSON under the key, readable by QSettings itself.
        QSettings settings(path, QSettings::NativeFormat);
        const QVariant value = settings.value(TodoStore::itemsDefaultsKey);
        QCOMPARE(value.typeId(), QMetaType::QByteArray);
        QCOMPARE(TodoListCodec::decode(value.toByteArray()), saved);

        TodoStore reopened(std::make_unique<SettingsTodoStorage>(path));
        QCOMPARE(reopened.items(), saved);
        // The file is replaced whole: no temporary or lock file is left.
        QCOMPARE(QDir(dir.filePath(u"marlowick"_s)).entryList(QDir::Files), QStringList{u"marlowick.conf"_s});
    }

    void reportsAFailedWriteAndRecovers()
    {
        QTemporaryDir dir;
        // The folder of the settings file is a plain file: nothing can be written.
        const QString folder = dir.filePath(u"blocked"_s);
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsTodoStorage storage(folder + u"/marlowick.conf"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Could not"_s));
        QVERIFY(!storage.write(TodoStore::itemsDefaultsKey, {}));

        // Once the folder can be made, the next write succeeds.
        QVERIFY(QFile::remove(folder));
        QVERIFY(storage.write(TodoStore::itemsDefaultsKey, {}));
        QSettings check(folder + u"/marlowick.conf"_s, QSettings::NativeFormat);
        QCOMPARE(check.value(TodoStore::itemsDefaultsKey).toByteArray(), QByteArray("[]"));
    }
};

MARLOWICK_TEST(SettingsStorageTest)
#include "settings_storage_test.moc"
