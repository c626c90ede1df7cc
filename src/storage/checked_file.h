// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

// Writing files that hold to-dos, with every step checked: on a full disk, a
// quota or a file-size limit a write stops short before it fails, and
// buffered writers (QSaveFile in Qt 6.4 among them) may not report a failure
// of their last flush. Such a file and its folders are private to the user.
namespace CheckedFile {

// Creates the folder and any folder above it that is missing, each readable
// by its owner alone. False with the reason in *error.
bool makeFolder(const QString &folder, QString *error);

// Creates a new file (never replacing one), readable by its owner alone,
// writes all the bytes and flushes them and its entry in the folder to disk.
// False with the reason in *error, the file removed.
bool writeNew(const QString &fileName, QByteArrayView bytes, QString *error);

} // namespace CheckedFile

// The new text of a file, written beside it and put in its place whole or
// not at all: written to a temporary file in the same folder, flushed to
// disk, renamed over the old file, and the folder flushed. A new file is
// readable by its owner alone; a file replaced keeps its permissions. A link
// is followed: its target is replaced. Writes are collected in a buffer of
// its own, so that many small writes cost few system calls.
class ReplacementFile : public QIODevice
{
public:
    explicit ReplacementFile(const QString &fileName);
    // Removes the temporary file unless it was committed.
    ~ReplacementFile() override;

    // Creates the temporary file; false with the reason in errorString().
    bool open();
    // Puts what was written in place of the file. False with the reason in
    // errorString() when any step failed, the old file then unchanged.
    bool commit();

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool flushBuffer();
    bool failWith(int error, const QString &step);
    void discard();

    QString m_fileName;   // the file replaced (a link's target)
    QByteArray m_tmpPath; // the temporary file, encoded
    int m_fd = -1;
    bool m_failed = false;
    QByteArray m_buffer;
};
