#include "todo_storage.h"

#include "json_list_writer.h"
#include "settings_file_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

Q_LOGGING_CATEGORY(lcStorage, "marlowick.storage")

namespace {

QByteArray readWholeFile(const QString &fileName, bool *ok)
{
    QFile file(fileName);
    if (!file.exists()) {
        *ok = true;
        return {};
    }
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// The file parsed for the fast path, or none when QSettings must handle it.
std::optional<SettingsFileText> readFileText(const QString &fileName)
{
    bool ok = false;
    const QByteArray text = readWholeFile(fileName, &ok);
    if (!ok)
        return std::nullopt;
    return SettingsFileText::parse(text);
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
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/marlowick/marlowick.conf");
}

QVariant SettingsTodoStorage::value(const QString &key) const
{
    const QByteArray fileKey = key.toUtf8();
    if (SettingsFileText::isPlainKey(fileKey)) {
        if (const auto file = readFileText(m_fileName)) {
            const auto raw = file->rawValue(fileKey);
            if (!raw)
                return QVariant();
            if (auto bytes = SettingsFileText::decodeByteArray(*raw))
                return *bytes;
        }
    }
    return QSettings(m_fileName, QSettings::NativeFormat).value(key);
}

bool SettingsTodoStorage::contains(const QString &key) const
{
    const QByteArray fileKey = key.toUtf8();
    if (SettingsFileText::isPlainKey(fileKey)) {
        if (const auto file = readFileText(m_fileName))
            return file->contains(fileKey);
    }
    return QSettings(m_fileName, QSettings::NativeFormat).contains(key);
}

bool SettingsTodoStorage::write(const QString &listKey, const QList<TodoItem> &items,
                                const QList<std::pair<QString, QVariant>> &others)
{
    bool fastPath = SettingsFileText::isPlainKey(listKey.toUtf8());
    for (const auto &[key, value] : others)
        fastPath = fastPath && value.typeId() == QMetaType::QByteArray && SettingsFileText::isPlainKey(key.toUtf8());
    if (!fastPath) {
        const auto json = JsonListWriter::json(items);
        if (!json)
            return false;
        return writeThroughQSettings(QList<std::pair<QString, QVariant>>(others) << std::pair{listKey, QVariant(*json)});
    }
    const auto listValue = m_listWriter.write(items);
    if (!listValue)
        return false;

    const QFileInfo info(m_fileName);
    if (!QDir().mkpath(info.absolutePath())) {
        qCWarning(lcStorage).noquote() << "Could not create the folder" << info.absolutePath();
        return false;
    }
    // No lock file as QSettings takes one: making it costs a second flush to
    // disk on every save, and only one Marlowick runs per user. Without it a
    // save can at worst undo a simultaneous edit of another key by another
    // program; the file itself is always whole, replaced by a rename.
    bool readable = false;
    const QByteArray current = readWholeFile(m_fileName, &readable);
    if (!readable) {
        // Writing now would replace values that could not even be read.
        qCWarning(lcStorage).noquote() << "Could not read" << m_fileName << "- not overwriting it";
        return false;
    }
    auto file = SettingsFileText::parse(current);
    if (!file) {
        return writeThroughQSettings(QList<std::pair<QString, QVariant>>(others)
                                     << std::pair{listKey, QVariant(*JsonListWriter::json(items))});
    }
    // The list read back at start is usually written back unchanged.
    if (others.isEmpty() && file->rawValue(listKey.toUtf8()) == QByteArrayView(*listValue))
        return true;
    for (const auto &[key, value] : others)
        file->setRawValue(key.toUtf8(), SettingsFileText::encodeByteArray(value.toByteArray()));
    file->setRawValue(listKey.toUtf8(), *listValue);

    // A new file, flushed to disk, then renamed over the old one.
    QSaveFile out(m_fileName);
    if (!out.open(QIODevice::WriteOnly) || !file->writeTo(out) || !out.commit()) {
        qCWarning(lcStorage).noquote() << "Could not write" << m_fileName << ":" << out.errorString();
        return false;
    }
    return true;
}

bool SettingsTodoStorage::writeThroughQSettings(const QList<std::pair<QString, QVariant>> &values)
{
    // A fresh QSettings each time: one that failed keeps its error and would
    // write the refused values later on its own.
    QSettings settings(m_fileName, QSettings::NativeFormat);
    for (const auto &[key, value] : values)
        settings.setValue(key, value);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qCWarning(lcStorage).noquote() << "Could not write" << m_fileName;
    return false;
}
