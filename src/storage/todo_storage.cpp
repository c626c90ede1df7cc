// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "storage/todo_storage.h"

#include "storage/checked_file.h"
#include "storage/json_list_writer.h"
#include "storage/new_file.h"
#include "storage/settings_file_lock.h"
#include "storage/settings_file_text.h"
#include "storage/xdg_base_folders.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>

Q_LOGGING_CATEGORY(lcStorage, "marlowick.storage")

using namespace std::chrono_literals;

namespace {

// QSettings holds its lock for one write; a lock held longer than this
// belongs to a program that hangs, and the save is tried again later.
constexpr auto lockTimeout = 3s;

struct FileContents {
    bool exists = false;
    QByteArray bytes;
    QString error; // set when the file exists but cannot be read
};

// Errors name the file alone, and a folder from the home folder on: they
// are shown in one line of the panel.
QString shortName(const QString &fileName)
{
    return QFileInfo(fileName).fileName();
}

QString shortFolder(const QString &folder)
{
    const QString home = QDir::homePath();
    return folder.startsWith(home + u'/') ? u'~' + folder.mid(home.size()) : folder;
}

FileContents readWholeFile(const QString &fileName)
{
    // Writing would replace a link that leads nowhere (to a drive not
    // mounted, say) with a file of its own.
    const QFileInfo info(fileName);
    if (info.isSymLink() && !info.exists())
        return {true,
                {},
                QStringLiteral("%1 links to %2, which is missing").arg(shortName(fileName), info.symLinkTarget())};
    QFile file(fileName);
    if (!file.exists())
        return {};
    FileContents contents{true, {}, {}};
    if (file.open(QIODevice::ReadOnly))
        contents.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        contents.error = QStringLiteral("%1 cannot be read: %2").arg(shortName(fileName), file.errorString());
    return contents;
}

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

SettingsTodoStorage::SettingsTodoStorage()
    : SettingsTodoStorage(defaultFileName())
{
}

SettingsTodoStorage::SettingsTodoStorage(const QString &fileName)
    : m_fileName(fileName)
{
}

QString SettingsTodoStorage::defaultFileName()
{
    // As QSettings finds it on Unix, without making a QSettings, which would
    // read the whole file at once.
    return XdgBaseFolders::configHome() + QStringLiteral("/marlowick/marlowick.conf");
}

bool SettingsTodoStorage::understands(QByteArrayView rawValue) const
{
    return rawValue == QByteArrayView(m_knownValue) || SettingsFileText::decodeByteArray(rawValue).has_value();
}

TodoStorage::Stored SettingsTodoStorage::read(const QString &key)
{
    const FileContents contents = readWholeFile(m_fileName);
    if (!contents.error.isEmpty())
        return {QVariant(), contents.error};
    const QByteArray fileKey = key.toUtf8();
    if (SettingsFileText::isPlainKey(fileKey)) {
        if (const auto file = SettingsFileText::parse(contents.bytes, fileKey)) {
            const auto raw = file->rawValue(fileKey);
            if (!raw)
                return {};
            if (auto bytes = SettingsFileText::decodeByteArray(*raw)) {
                m_knownValue = raw->toByteArray();
                return {*bytes, {}};
            }
        }
    }
    // Whatever QSettings makes of it is the best reading there is; it is
    // kept aside before it is written over.
    return {QSettings(m_fileName, QSettings::NativeFormat).value(key),
            QStringLiteral("%1 is damaged").arg(shortName(m_fileName))};
}

bool SettingsTodoStorage::fail(const QString &error)
{
    m_error = error;
    qCWarning(lcStorage).noquote() << "Could not save the to-do list in" << m_fileName + u':' << error;
    return false;
}

bool SettingsTodoStorage::write(const QString &key, const QList<TodoItem> &items, StoredCopy storedCopy)
{
    const QByteArray fileKey = key.toUtf8();
    Q_ASSERT(SettingsFileText::isPlainKey(fileKey));
    const auto listValue = m_listWriter.write(items);
    if (!listValue)
        return fail(QStringLiteral("a date of a to-do is not a number"));
    // The list read at start is written back unchanged, even where the file
    // cannot be written.
    if (storedCopy == StoredCopy::IfNotUnderstood && *listValue == m_knownValue)
        return true;

    const QString folder = QFileInfo(m_fileName).absolutePath();
    QString folderError;
    if (!CheckedFile::makeFolder(folder, &folderError))
        return fail(folderError.replace(folder, shortFolder(folder)));
    // Another program may write other keys of the file through QSettings:
    // under its lock, the file as it is now is the one to change.
    SettingsFileLock lock(m_fileName);
    if (!lock.tryLock(lockTimeout))
        return fail(lock.errorString());
    const FileContents current = readWholeFile(m_fileName);
    if (!current.error.isEmpty()) // never replace what could not even be read
        return fail(current.error);

    auto file = SettingsFileText::parse(current.bytes, fileKey);
    const auto raw = file ? file->rawValue(fileKey) : std::nullopt;
    const bool understood = file && (!raw || understands(*raw));
    if ((!understood || storedCopy == StoredCopy::Always) && !current.bytes.isEmpty() && !keepCopy(current.bytes))
        return false;

    QByteArray newText;
    if (understood) {
        file->setRawValue(fileKey, *listValue);
    } else {
        const auto rewritten = rewrittenByQSettings(current.bytes, key, items);
        if (!rewritten)
            return false;
        newText = *rewritten;
    }

    // A new file, flushed to disk, then renamed over the old one.
    ReplacementFile out(m_fileName);
    const bool written =
        out.open() && (understood ? file->writeTo(out) : out.write(newText) == newText.size()) && out.commit();
    if (!written)
        return fail(QStringLiteral("%1 cannot be written: %2").arg(shortName(m_fileName), out.errorString()));
    m_knownValue = *listValue;
    return true;
}

bool SettingsTodoStorage::keepCopy(const QByteArray &contents)
{
    const QByteArray hash = hashOf(contents);
    if (hash == m_keptHash)
        return true; // kept by an earlier try of this save
    const QFileInfo info(m_fileName);
    QString error;
    const auto copy =
        NewFile::write(info.absolutePath(), info.fileName() + QStringLiteral(".unreadable-") + NewFile::timeStamp(),
                       QString(), contents, &error);
    if (!copy)
        return fail(QStringLiteral("no copy of %1 could be kept: %2").arg(shortName(m_fileName), error));
    m_keptHash = hash;
    qCWarning(lcStorage).noquote() << m_fileName << "was not read completely and unambiguously;"
                                   << "a copy of it as it was is kept in" << *copy;
    return true;
}

std::optional<QByteArray> SettingsTodoStorage::rewrittenByQSettings(const QByteArray &contents, const QString &key,
                                                                    const QList<TodoItem> &items)
{
    // QSettings changes the file's text in a copy, so that the lock on the
    // file itself is held throughout.
    const auto json = JsonListWriter::json(items);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.conf"));
    QString error;
    if (!dir.isValid() || !CheckedFile::writeNew(path, contents, &error)) {
        fail(QStringLiteral("%1 cannot be rewritten in a temporary folder: %2")
                 .arg(shortName(m_fileName), dir.isValid() ? error : dir.errorString()));
        return std::nullopt;
    }
    QVariantMap values;
    {
        QSettings settings(path, QSettings::NativeFormat);
        settings.setValue(key, *json);
        settings.sync();
        // A format error is the damage that is being written over.
        if (settings.status() == QSettings::AccessError) {
            fail(QStringLiteral("%1 cannot be rewritten in a temporary folder").arg(shortName(m_fileName)));
            return std::nullopt;
        }
        for (const QString &settingsKey : settings.allKeys())
            values.insert(settingsKey, settings.value(settingsKey));
    }
    // QSettings may not notice that its last write stopped short: what it
    // wrote must read back as every value it holds. Read under another name,
    // or QSettings answers from its cache of the file it wrote.
    const QString checkedPath = dir.filePath(QStringLiteral("checked.conf"));
    QFile rewritten(path);
    if (!rewritten.rename(checkedPath) || !rewritten.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("%1 cannot be rewritten in a temporary folder").arg(shortName(m_fileName)));
        return std::nullopt;
    }
    const QByteArray text = rewritten.readAll();
    QSettings check(checkedPath, QSettings::NativeFormat);
    const QStringList keys = check.allKeys();
    const bool complete = rewritten.error() == QFileDevice::NoError && check.status() == QSettings::NoError
        && keys.size() == values.size()
        && std::all_of(keys.cbegin(), keys.cend(), [&](const QString &k) { return check.value(k) == values.value(k); });
    if (!complete) {
        fail(QStringLiteral("%1 cannot be rewritten in a temporary folder: the copy is incomplete")
                 .arg(shortName(m_fileName)));
        return std::nullopt;
    }
    return text;
}
