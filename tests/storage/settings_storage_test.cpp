// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/todo_store.h"
#include "storage/recovery_file.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"
#include "storage/xdg_base_folders.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList titles(const QList<TodoItem> &items)
{
    QStringList result;
    for (const TodoItem &item : items)
        result.append(item.title);
    return result;
}

QList<TodoItem> storedItems(const QString &path)
{
    return TodoListCodec::decode(SettingsTodoStorage(path).value(TodoStore::itemsDefaultsKey).toByteArray())
        .value_or(QList<TodoItem>());
}

// A settings file as QSettings writes it: the list (two to-dos, one title
// with a letter beyond ASCII) among other keys and sections.
QByteArray ordinaryFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"marlowick.conf"_s);
    {
        QSettings settings(path, QSettings::NativeFormat);
        settings.setValue(u"a.note"_s, u"kept"_s); // the line before the list's
        settings.setValue(u"Window/size"_s, 3);
        const QList<TodoItem> items{{QUuid::createUuid(), u"Café"_s, false, 1, 0},
                                    {QUuid::createUuid(), u"Tea"_s, true, 2, 0}};
        settings.setValue(TodoStore::itemsDefaultsKey, *TodoListCodec::encode(items));
    }
    return readFile(path);
}

// Runs `child` in a child process whose files may grow to `limit` bytes
// (a write beyond fails with EFBIG); the code it returns is the exit code.
int exitCodeUnderFileSizeLimit(qsizetype limit, const std::function<int()> &child)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit fileSize{rlim_t(limit), rlim_t(limit)};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        ::_exit(child());
    }
    int status = -1;
    return ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class SettingsStorageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each damage either makes QSettings read the file otherwise than the
    // program would, or is a form QSettings never writes.
    void keepsACopyOfWhatItDidNotUnderstand_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("copied");
        QTest::addColumn<QStringList>("shown");
        const QByteArray file = ordinaryFile();
        const qsizetype listLine = file.indexOf("marlowick.items=");
        const QByteArray listValue = file.mid(listLine + 16, file.indexOf('\n', listLine) - listLine - 16);
        const auto replaced = [&](QByteArrayView what, QByteArrayView with) {
            return QByteArray(file).replace(what.toByteArray(), with.toByteArray());
        };
        const QStringList both{u"Café"_s, u"Tea"_s};

        QTest::newRow("as QSettings wrote it") << file << false << both;
        QTest::newRow("equals sign flipped") << replaced("items=", "items<") << true << QStringList();
        QTest::newRow("first bytes zeroed") << QByteArray(4, '\0') + file.mid(4) << true << both;
        QTest::newRow("binary garbage") << replaced("Tea", "T\x01\xff\xfe") << true << QStringList();
        QTest::newRow("@Invalid()") << replaced(listValue, "@Invalid()") << true << QStringList();
        QTest::newRow("@Variant garbage") << replaced(listValue, "@Variant(\\0\\x1\\xff)") << true << QStringList();
        QTest::newRow("raw UTF-8 in the byte array") << replaced("\\xc3\\xa9", "\xc3\xa9") << true << QStringList();
        QTest::newRow("two General sections")
            << replaced("[General]\n", "[General]\nx=1\n\n[General]\n") << true << both;
        QTest::newRow("the key twice") << file + "\n[General]\nmarlowick.items=@ByteArray([])\n"
                                       << true << QStringList();
        QTest::newRow("a comment") << "; mine\n" + file << true << both;
        QTest::newRow("a quote left open") << replaced("a.note=kept", "a.note=\"kept") << true << QStringList();
        QTest::newRow("another spelling of the key")
            << replaced("marlowick.items", "marlowick%2Eitems") << true << both;
        QTest::newRow("lower-case general") << replaced("[General]", "[general]") << true << both;
        QTest::newRow("half a surrogate pair in a title")
            << replaced("Tea", "T\\\\ud83dea") << true << QStringList{u"Café"_s, u"T\ufffdea"_s};
        QTest::newRow("line joined to the next") << replaced("a.note=kept", "a.note=kept\\") << true << QStringList();
    }

    void keepsACopyOfWhatItDidNotUnderstand()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, copied);
        QFETCH(QStringList, shown);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"marlowick.conf"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();

        TodoStore store(std::make_unique<SettingsTodoStorage>(path));
        QCOMPARE(titles(store.items()), shown);
        store.addTodo(u"Quotes \" and \\ and\nlines, = ; # [x] 🥊"_s);
        QCOMPARE(storedItems(path), store.items());
        QCOMPARE(TodoStore(std::make_unique<SettingsTodoStorage>(path)).items(), store.items());
        QCOMPARE(QSettings(path, QSettings::NativeFormat).value(TodoStore::itemsDefaultsKey),
                 SettingsTodoStorage(path).value(TodoStore::itemsDefaultsKey));
        const QStringList copies = QDir(dir.path()).entryList({u"marlowick.conf.unreadable-*"_s});
        QCOMPARE(copies.size(), copied ? 1 : 0);
        if (copied)
            QCOMPARE(readFile(dir.filePath(copies.first())), text);
        // The file is replaced whole: no temporary or lock file is left.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1 + copies.size());
        store.addTodo(u"Newer"_s); // understood now: no second copy
        QCOMPARE(QDir(dir.path()).entryList({u"marlowick.conf.unreadable-*"_s}), copies);
    }

    void failsWithoutTouchingWhatItCannotReadOrReplace()
    {
        QTemporaryDir dir;
        // The folder of the settings file is a plain file: nothing can be written.
        const QString folder = dir.filePath(u"blocked"_s);
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsTodoStorage storage(folder + u"/marlowick.conf"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Could not save"_s));
        QVERIFY(!storage.write(TodoStore::itemsDefaultsKey, {}));
        QVERIFY(storage.errorString().contains(u"blocked"_s));

        // Once the folder can be made, the next write succeeds.
        QVERIFY(QFile::remove(folder));
        QVERIFY(storage.write(TodoStore::itemsDefaultsKey, {}));
        QCOMPARE(storage.value(TodoStore::itemsDefaultsKey).toByteArray(), QByteArray("[]"));

        // A settings file that cannot be read (here a folder, for any user)
        // is reported at start and never replaced.
        const QString unreadable = dir.filePath(u"marlowick.conf"_s);
        QVERIFY(QDir().mkpath(unreadable + u"/inside"_s));
        SettingsTodoStorage blocked(unreadable);
        QVERIFY(blocked.read(TodoStore::itemsDefaultsKey).problem.startsWith(u"marlowick.conf cannot be read: "_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Could not save"_s));
        QVERIFY(!blocked.write(TodoStore::itemsDefaultsKey, {}));
        QVERIFY(QFileInfo(unreadable + u"/inside"_s).isDir());
        // Nor is a link that leads nowhere replaced with a file.
        const QString link = dir.filePath(u"linked.conf"_s);
        QVERIFY(QFile::link(dir.filePath(u"unmounted/marlowick.conf"_s), link));
        SettingsTodoStorage linked(link);
        QVERIFY(linked.read(TodoStore::itemsDefaultsKey).problem.endsWith(u"which is missing"_s));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Could not save"_s));
        QVERIFY(!linked.write(TodoStore::itemsDefaultsKey, {}));
        QVERIFY(QFileInfo(link).isSymLink());

        // A file QSettings rewrites (here for its comment) is read back:
        // Qt 6.4's QSettings takes a write that a file-size limit stopped
        // short for a success.
        const QString commented = dir.filePath(u"commented.conf"_s);
        const QByteArray text = "; mine\n" + ordinaryFile();
        QFile file(commented);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        const QList<TodoItem> teas(40, {{}, u"Tea"_s, false, 1, 0});
        const auto saveRewritten = [&] {
            SettingsTodoStorage storage(commented);
            if (storage.write(TodoStore::itemsDefaultsKey, teas))
                return 0;
            return storage.errorString().endsWith(u"the copy is incomplete"_s) ? 1 : 2;
        };
        QCOMPARE(exitCodeUnderFileSizeLimit(text.size(), saveRewritten), 1);
        QCOMPARE(readFile(commented), text);

        // A save that keeps a copy of a damaged file and then fails is tried
        // again over the same file: the one copy is enough.
        const QString damaged = dir.filePath(u"damaged.conf"_s);
        // (Long enough for the file's lock to fit under the limit too.)
        const QByteArray damage = "[General]\nnote=" + QByteArray(400, 'x') + "\nmarlowick.items=@Invalid()\n";
        QFile damagedFile(damaged);
        QVERIFY(damagedFile.open(QIODevice::WriteOnly) && damagedFile.write(damage) == damage.size());
        damagedFile.close();
        // The copy fits under the limit, the list does not.
        const auto saveTwice = [&] {
            SettingsTodoStorage storage(damaged);
            const bool failedTwice =
                !storage.write(TodoStore::itemsDefaultsKey, teas) && !storage.write(TodoStore::itemsDefaultsKey, teas);
            return failedTwice ? 0 : 1;
        };
        QCOMPARE(exitCodeUnderFileSizeLimit(damage.size(), saveTwice), 0);
        QCOMPARE(readFile(damaged), damage);
        const QStringList copies = QDir(dir.path()).entryList({u"damaged.conf.unreadable-*"_s});
        QCOMPARE(copies.size(), 1);
        QCOMPARE(readFile(dir.filePath(copies.first())), damage);
    }

    // The list is the user's alone; the folders follow the XDG rules.
    void aNewListIsPrivate()
    {
        const mode_t umask = ::umask(022);
        const auto restore = qScopeGuard([umask] { ::umask(umask); });
        QTemporaryDir dir;
        const QString path = dir.filePath(u"config/marlowick/marlowick.conf"_s);
        SettingsTodoStorage storage(path);
        QVERIFY(storage.write(TodoStore::itemsDefaultsKey, {}));
        const auto mode = [](const QString &path) {
            struct stat status {
            };
            return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
        };
        QCOMPARE(mode(path), 0600u);
        QCOMPARE(mode(dir.filePath(u"config/marlowick"_s)), 0700u);
        QCOMPARE(mode(dir.filePath(u"config"_s)), 0700u);
        // A file of the user's keeps the mode given to it.
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0640) == 0);
        QVERIFY(storage.write(TodoStore::itemsDefaultsKey, {{QUuid::createUuid(), u"Tea"_s, false, 1, 0}}));
        QCOMPARE(mode(path), 0640u);
        QCOMPARE(QDir(dir.filePath(u"config/marlowick"_s)).entryList(QDir::Files), QStringList{u"marlowick.conf"_s});

        // A base folder given as a relative path counts as not given.
        qputenv("XDG_CONFIG_HOME", "config");
        qputenv("XDG_STATE_HOME", "state");
        qputenv("XDG_RUNTIME_DIR", "runtime");
        QCOMPARE(SettingsTodoStorage::defaultFileName(), QDir::homePath() + u"/.config/marlowick/marlowick.conf"_s);
        QCOMPARE(RecoveryFile::folder(), QDir::homePath() + u"/.local/state/marlowick"_s);
        XdgBaseFolders::dropRelativePaths();
        QVERIFY(!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"));
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        QCOMPARE(SettingsTodoStorage::defaultFileName(), dir.path() + u"/marlowick/marlowick.conf"_s);
    }

    void anotherProgramWritingTheFileLosesNothingAndUndoesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"marlowick.conf"_s);
        TodoStore store(std::make_unique<SettingsTodoStorage>(path));
        store.addTodo(u"0"_s);
        QProcess other;
        other.start(QStringLiteral(SETTINGS_KEY_WRITER), {path, u"other.count"_s, u"150"_s});
        QVERIFY(other.waitForStarted());
        int saves = 0;
        while (!other.waitForFinished(10)) {
            store.addTodo(QString::number(++saves));
            QCOMPARE(storedItems(path), store.items());
        }
        QCOMPARE(other.exitStatus(), QProcess::NormalExit);
        QCOMPARE(other.exitCode(), 0); // none of its values was undone
        QVERIFY(saves > 0);
        QCOMPARE(QSettings(path, QSettings::NativeFormat).value(u"other.count"_s).toInt(), 150);
        QCOMPARE(storedItems(path), store.items());
    }
};

QTEST_GUILESS_MAIN(SettingsStorageTest)
#include "settings_storage_test.moc"
