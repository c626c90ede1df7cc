// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QAccessible>
#include <QtQuick/private/qaccessiblequickitem_p.h>

class QQuickTextEdit;

// Qt Quick lets assistive technology read a text area but not write to it:
// it offers no editable-text interface (AT-SPI's EditableText, through which
// dictation and other input tools type). This is Qt Quick's own accessible
// text area with one. Every change goes through the area as typing would,
// so the field's length limit and its draft follow.
class EditableTextAccessible : public QAccessibleQuickItem, public QAccessibleEditableTextInterface
{
public:
    explicit EditableTextAccessible(QQuickTextEdit *edit);

    // To install with QAccessible::installFactory before the first window:
    // it takes the text areas and edits that Qt Quick would make accessible.
    static QAccessibleInterface *create(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;

    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    // The area, unless it is read-only.
    QQuickTextEdit *writableEdit() const;
};
