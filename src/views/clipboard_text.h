// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration/qqmlintegration.h>

// The text on the clipboard for the panel's fields, which paste only as much
// as they take: a text field lays out what it is given before it could cut
// it, and a pasted megabyte takes minutes to lay out.
class ClipboardText : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // At most maxLength characters from the start of the clipboard's text,
    // or of the selection (the middle-button paste of X11).
    Q_INVOKABLE static QString start(int maxLength, bool selection = false);
};
