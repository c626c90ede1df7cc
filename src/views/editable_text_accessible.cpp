// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/editable_text_accessible.h"

#include <QtQuick/private/qquickitem_p.h>
#include <QtQuick/private/qquicktextedit_p.h>

#include <algorithm>

EditableTextAccessible::EditableTextAccessible(QQuickTextEdit *edit)
    : QAccessibleQuickItem(edit)
{
}

QAccessibleInterface *EditableTextAccessible::create(const QString &className, QObject *object)
{
    // Qt Quick's own factory answers for the base class of every item, so
    // the more derived name comes first.
    if (className != QLatin1String("QQuickTextEdit"))
        return nullptr;
    auto *edit = qobject_cast<QQuickTextEdit *>(object);
    if (!edit || !QQuickItemPrivate::get(edit)->isAccessible)
        return nullptr;
    return new EditableTextAccessible(edit);
}

void *EditableTextAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleQuickItem::interface_cast(type);
}

QQuickTextEdit *EditableTextAccessible::writableEdit() const
{
    auto *edit = qobject_cast<QQuickTextEdit *>(object());
    return edit && !edit->isReadOnly() ? edit : nullptr;
}

void EditableTextAccessible::deleteText(int startOffset, int endOffset)
{
    if (QQuickTextEdit *edit = writableEdit())
        edit->remove(std::max(0, startOffset), std::min(endOffset, edit->length()));
}

void EditableTextAccessible::insertText(int offset, const QString &text)
{
    if (QQuickTextEdit *edit = writableEdit())
        edit->insert(std::clamp(offset, 0, edit->length()), text);
}

void EditableTextAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!writableEdit())
        return;
    deleteText(startOffset, endOffset);
    insertText(startOffset, text);
}
