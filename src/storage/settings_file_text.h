// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QList>

#include <optional>

// The text of a settings file in the form QSettings writes it on Linux (its
// native format: INI sections, sorted keys, escaped values), read and edited
// directly so that a list of many thousand to-dos is saved in about the time
// its bytes take to reach the disk. Only files in exactly this form are
// handled here, where every line means to QSettings what it means here;
// anything else (comments, hand-made spacing, CR LF line ends, a section or
// key met twice, a line QSettings would drop or join to the next) is left to
// QSettings itself.
class SettingsFileText
{
public:
    // None when the text is not in the form QSettings writes. The value of
    // the key valueCheckedApart of the [General] section is not looked at:
    // the caller reads it with decodeByteArray, which takes only what
    // QSettings reads alike, and so saves a pass over most of the text.
    static std::optional<SettingsFileText> parse(const QByteArray &text, QByteArrayView valueCheckedApart = {});

    // The raw (still escaped) value text of a key of the [General] section.
    std::optional<QByteArrayView> rawValue(QByteArrayView key) const;

    // Sets a key of the [General] section to a raw value text, keeping every
    // other line; a new key goes where QSettings would sort it.
    void setRawValue(QByteArrayView key, const QByteArray &rawValue);

    QByteArray text() const;
    // Writes the text to the device without first joining it in memory: the
    // list of to-dos is most of it. False when the device refused.
    bool writeTo(QIODevice &device) const;

    // The byte array of a value text in the form QSettings writes for a byte
    // array; none for any other text.
    static std::optional<QByteArray> decodeByteArray(QByteArrayView text);

    // Whether QSettings writes the key as it is (no escapes needed).
    static bool isPlainKey(QByteArrayView key);

private:
    struct Line {
        QByteArray text;          // often a view into m_source
        qsizetype keyLength = -1; // -1 for a section header
    };
    struct Section {
        QByteArray header; // "[General]"
        QList<Line> lines;
    };

    Section *generalSection();
    const Section *generalSection() const;

    QByteArray m_source; // the parsed text, which unchanged lines point into
    QList<Section> m_sections;
};
