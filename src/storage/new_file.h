// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Files the program writes once and never touches again: copies of a
// settings file kept before it is overwritten, and lists that could not be
// saved.
namespace NewFile {

// The current UTC time as it goes into such names: 20261205T143000Z.
QString timeStamp();

// Writes the bytes to a new file folder/<name><extension>, or, when that is
// taken, <name>-2<extension>, <name>-3<extension> ...: an existing file is
// never replaced. The file, readable by its owner alone (it holds to-dos),
// is flushed to disk. Returns its path, or none
// with the reason in *error.
std::optional<QString> write(const QString &folder, const QString &name, const QString &extension, QByteArrayView bytes,
                             QString *error);

} // namespace NewFile
