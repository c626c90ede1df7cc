// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "instance/command_protocol.h"

#include "model/todo_store.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace CommandProtocol {

// The longest title, every character beyond the BMP and escaped as two
// \uXXXX, and room for the rest of the request.
static_assert(maxRequestLength >= TodoStore::maxTitleLength * 12 + 4096);

namespace {

QByteArray line(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<QJsonObject> objectIn(QByteArrayView line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed().toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

// Members that are there must have the type; missing ones take the default.
bool readString(const QJsonObject &object, const QString &key, QString *value)
{
    const QJsonValue member = object.value(key);
    if (member.isUndefined())
        return true;
    if (!member.isString())
        return false;
    *value = member.toString();
    return true;
}

bool readBool(const QJsonObject &object, const QString &key, bool *value)
{
    const QJsonValue member = object.value(key);
    if (member.isUndefined())
        return true;
    if (!member.isBool())
        return false;
    *value = member.toBool();
    return true;
}

} // namespace

QByteArray encodeRequest(const CommandRequest &request)
{
    return line({
        {QStringLiteral("marlowick"), version},
        {QStringLiteral("command"), CommandRequest::nameOf(request.command)},
        {QStringLiteral("title"), request.title},
        {QStringLiteral("day"), request.day},
        {QStringLiteral("json"), request.json},
        {QStringLiteral("open"), request.openOnly},
        {QStringLiteral("add"), request.addField},
        {QStringLiteral("id"), request.id},
    });
}

std::variant<CommandRequest, CommandReply> decodeRequest(QByteArrayView text)
{
    const auto object = objectIn(text);
    if (!object || !object->value(QStringLiteral("marlowick")).isDouble())
        return CommandReply::usageError(QStringLiteral("not a request to Marlowick"));
    const int requestVersion = object->value(QStringLiteral("marlowick")).toInt();
    if (requestVersion != version) {
        return CommandReply::failure(
            QStringLiteral("the running Marlowick speaks version %1 of the command protocol, this command version %2; "
                           "quit Marlowick and start it again")
                .arg(version)
                .arg(requestVersion));
    }
    CommandRequest request;
    QString name;
    if (!readString(*object, QStringLiteral("command"), &name))
        return CommandReply::usageError(QStringLiteral("not a request to Marlowick"));
    const auto command = CommandRequest::commandNamed(name);
    if (!command)
        return CommandReply::usageError(QStringLiteral("unknown command \"%1\"").arg(name));
    request.command = *command;
    if (!readString(*object, QStringLiteral("title"), &request.title)
        || !readString(*object, QStringLiteral("day"), &request.day)
        || !readBool(*object, QStringLiteral("json"), &request.json)
        || !readBool(*object, QStringLiteral("open"), &request.openOnly)
        || !readBool(*object, QStringLiteral("add"), &request.addField)
        || !readString(*object, QStringLiteral("id"), &request.id))
        return CommandReply::usageError(QStringLiteral("not a request to Marlowick"));
    return request;
}

QByteArray encodeReply(const CommandReply &reply)
{
    return line({
        {QStringLiteral("status"), reply.status},
        {QStringLiteral("output"), reply.output},
        {QStringLiteral("error"), reply.error},
    });
}

std::optional<CommandReply> decodeReply(QByteArrayView text)
{
    const auto object = objectIn(text);
    if (!object)
        return std::nullopt;
    const QJsonValue status = object->value(QStringLiteral("status"));
    CommandReply reply;
    reply.status = status.toInt(-1);
    if (!status.isDouble() || reply.status < CommandReply::Success || reply.status > CommandReply::UsageError
        || !readString(*object, QStringLiteral("output"), &reply.output)
        || !readString(*object, QStringLiteral("error"), &reply.error))
        return std::nullopt;
    return reply;
}

} // namespace CommandProtocol
