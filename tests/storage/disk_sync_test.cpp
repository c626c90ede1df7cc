// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "model/todo_store.h"
#include "storage/recovery_file.h"
#include "storage/todo_storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <dlfcn.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Every flush to disk and every rename this process makes, in order, as
// "datasync <file>", "sync <file or folder>" and "rename <from> <to>". The
// program's calls reach these definitions before the C library's, which
// they then call.
static QStringList diskEvents;

static QString pathOf(int fd)
{
    return QFile::symLinkTarget(u"/proc/self/fd/%1"_s.arg(fd));
}

extern "C" int fdatasync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fdatasync"));
    diskEvents.append(u"datasync "_s + pathOf(fd));
    return real(fd);
}

extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    diskEvents.append(u"sync "_s + pathOf(fd));
    return real(fd);
}

extern "C" int rename(const char *from, const char *to)
{
    static const auto real = reinterpret_cast<int (*)(const char *, const char *)>(::dlsym(RTLD_NEXT, "rename"));
    diskEvents.append(u"rename %1 %2"_s.arg(QFile::decodeName(from), QFile::decodeName(to)));
    return real(from, to);
}

namespace {

// Whether `file`'s data reached the disk, and then the folder entry that
// makes it count: for a file renamed into place, the data before the rename.
bool reachedTheDisk(const QString &file)
{
    const QString folder = QFileInfo(file).absolutePath();
    const qsizetype renamed =
        diskEvents.indexOf(QRegularExpression(u"^rename .* "_s + QRegularExpression::escape(file) + u'$'));
    const QString written = renamed < 0 ? file : diskEvents[renamed].section(u' ', 1, 1);
    const qsizetype data = diskEvents.indexOf(u"datasync "_s + written);
    const qsizetype entry = diskEvents.indexOf(u"sync "_s + folder, std::max(data, renamed));
    return data >= 0 && (renamed < 0 || data < renamed) && entry > data;
}

} // namespace

class DiskSyncTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The saved list, the copy of a file that could not be read and the
    // file that rescues a list that could not be saved all reach the disk
    // before they are reported written: a power cut must not leave the
    // only copy of a list in the page cache.
    void everyFileThatHoldsToDosReachesTheDisk()
    {
        QTemporaryDir dir;
        const QString folder = QFileInfo(dir.path()).canonicalFilePath(); // as /proc names it
        const QString path = folder + u"/marlowick.conf"_s;
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write("[General]\nmarlowick.items=@Invalid()\n") > 0);
        damaged.close();

        diskEvents.clear();
        SettingsTodoStorage storage(path);
        QVERIFY(storage.write(TodoStore::itemsDefaultsKey, {{QUuid::createUuid(), u"Tea"_s, false, 1, 0}}));
        const QStringList copies = QDir(folder).entryList({u"marlowick.conf.unreadable-*"_s});
        QCOMPARE(copies.size(), 1);
        const QString copy = folder + u'/' + copies.first();
        QVERIFY2(reachedTheDisk(copy), qPrintable(diskEvents.join(u'\n')));
        QVERIFY2(reachedTheDisk(path), qPrintable(diskEvents.join(u'\n')));
        // The copy is on the disk before the file it copies is replaced.
        QVERIFY(diskEvents.indexOf(u"datasync "_s + copy)
                < diskEvents.indexOf(QRegularExpression(u"^rename .* "_s + QRegularExpression::escape(path) + u'$')));

        qputenv("XDG_STATE_HOME", folder.toUtf8());
        diskEvents.clear();
        QString error;
        const auto rescue = RecoveryFile::write(TodoStore::itemsDefaultsKey, {}, &error);
        QVERIFY2(rescue, qPrintable(error));
        QVERIFY2(reachedTheDisk(*rescue), qPrintable(diskEvents.join(u'\n')));
    }
};

QTEST_MAIN(DiskSyncTest)
#include "disk_sync_test.moc"
