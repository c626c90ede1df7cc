// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "support/x11/marlowick_process.h"

#include "model/todo_store.h"
#include "storage/todo_list_codec.h"
#include "storage/todo_storage.h"
#include "support/x11/x_desktop.h"

#include <QDir>
#include <QTest>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

static constexpr int timeout = 20000;

MarlowickProcess::MarlowickProcess(const XDesktop *desktop)
    : m_desktop(desktop)
{
    QFile::setPermissions(m_runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

MarlowickProcess::~MarlowickProcess()
{
    m_process.kill();
    m_process.waitForFinished();
}

QList<TodoItem> MarlowickProcess::storedItems(const QString &settingsFile)
{
    const QVariant value = SettingsTodoStorage(settingsFile).value(TodoStore::itemsDefaultsKey);
    return TodoListCodec::decode(value.toByteArray()).value_or(QList<TodoItem>());
}

QStringList MarlowickProcess::storedTitles() const
{
    QStringList titles;
    for (const TodoItem &item : storedItems())
        titles.append(item.title);
    return titles;
}

bool MarlowickProcess::store(const QList<TodoItem> &items) const
{
    return QDir().mkpath(QFileInfo(settingsFile()).absolutePath())
        && SettingsTodoStorage(settingsFile()).write(TodoStore::itemsDefaultsKey, items);
}

void MarlowickProcess::prepare(QProcess &process, const QString &runtime) const
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    if (m_desktop) {
        variables = m_desktop->environment();
    } else {
        variables.remove(u"DISPLAY"_s);
        variables.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    }
    variables.insert(u"XDG_CONFIG_HOME"_s, m_config.path());
    variables.insert(u"XDG_STATE_HOME"_s, m_state.path());
    variables.insert(u"XDG_RUNTIME_DIR"_s, runtime.isEmpty() ? m_runtime.path() : runtime);
    variables.insert(u"QT_LOGGING_RULES"_s, u"marlowick.app.info=true"_s);
    for (auto variable = environment.cbegin(); variable != environment.cend(); ++variable)
        variables.insert(variable.key(), variable.value());
    process.setProcessEnvironment(variables);
    process.setChildProcessModifier([limit = rlim_t(fileSizeLimit)] {
        if (limit > 0) {
            const rlimit fileSize{limit, limit};
            ::setrlimit(RLIMIT_FSIZE, &fileSize);
        }
    });
}

bool MarlowickProcess::startAndWaitUntilReady()
{
    prepare(m_process, {});
    const qsizetype readyBefore = log().count(u"ready:"_s);
    m_process.start(QStringLiteral(MARLOWICK_BINARY), {});
    return QTest::qWaitFor(
               [&] { return log().count(u"ready:"_s) > readyBefore || m_process.state() == QProcess::NotRunning; },
               timeout)
        && m_process.state() == QProcess::Running;
}

QString MarlowickProcess::log()
{
    if (m_process.isOpen())
        m_log += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_log;
}

bool MarlowickProcess::exitsCleanly()
{
    return QTest::qWaitFor([&] { return m_process.state() == QProcess::NotRunning; }, timeout)
        && m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

std::unique_ptr<QProcess> MarlowickProcess::start(const QStringList &arguments, const QString &outputFile) const
{
    auto process = std::make_unique<QProcess>();
    prepare(*process, {});
    if (!outputFile.isEmpty())
        process->setStandardOutputFile(outputFile);
    process->start(QStringLiteral(MARLOWICK_BINARY), arguments);
    return process;
}

MarlowickProcess::Output MarlowickProcess::run(const QStringList &arguments, const QString &runtime) const
{
    QProcess process;
    prepare(process, runtime);
    process.start(QStringLiteral(MARLOWICK_BINARY), arguments);
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeout))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}
