// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/panel_keyboard.h"

#include "model/todo_store.h"

#include <QUuid>

#include <algorithm>

namespace {

// Characters that a delete key produces: backspace and delete.
bool containsDeleteCharacter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c == 0x08 || c == 0x7f)
            return true;
    }
    return false;
}

} // namespace

void PanelKeyboard::setFocusState(PanelFocusState *focusState)
{
    if (m_focusState == focusState)
        return;
    m_focusState = focusState;
    Q_EMIT focusStateChanged();
}

void PanelKeyboard::setStore(TodoStore *store)
{
    if (m_store == store)
        return;
    m_store = store;
    Q_EMIT storeChanged();
}

bool PanelKeyboard::isUndoShortcut(int key, int modifiers)
{
    return key == Qt::Key_Z && (modifiers & Qt::ControlModifier);
}

bool PanelKeyboard::viewKeyPressed(int key, int, const QString &, bool isAutoRepeat)
{
    // A held Escape that cleared the list's selection does not go on to
    // close the panel.
    if (key == Qt::Key_Escape && !isAutoRepeat) {
        Q_EMIT closeRequested();
        return true;
    }
    // Shift+Tab comes as Backtab; it steps the same way (the cycle has one
    // direction), and Qt's own focus chain never gets to jump elsewhere.
    if (key != Qt::Key_Tab && key != Qt::Key_Backtab)
        return false;
    cycleFocus();
    return true;
}

bool PanelKeyboard::headerKeyPressed(int key, int modifiers, const QString &, bool isAutoRepeat)
{
    // The arrows step on while held.
    if (key == Qt::Key_Left || key == Qt::Key_Right) {
        if (m_store) {
            if (key == Qt::Key_Left)
                m_store->goToPreviousDay();
            else
                m_store->goToNextDay();
        }
        return true;
    }
    if (!isAutoRepeat && isUndoShortcut(key, modifiers)) {
        undoShortcut();
        return true;
    }
    return false;
}

bool PanelKeyboard::placeholderKeyPressed(int key, int modifiers, const QString &, bool isAutoRepeat)
{
    if (isAutoRepeat || !isUndoShortcut(key, modifiers))
        return false;
    undoShortcut();
    return true;
}

bool PanelKeyboard::listKeyPressed(int key, int modifiers, const QString &text, bool isAutoRepeat)
{
    if (isAutoRepeat || !m_focusState)
        return false;
    // A row being edited in place keeps its keys.
    if (!m_focusState->editingItemID().isEmpty())
        return false;
    switch (key) {
    case Qt::Key_Up:
        moveSelection(-1);
        return true;
    case Qt::Key_Down:
        moveSelection(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        toggleSelectedItem();
        return true;
    case Qt::Key_Escape:
        m_focusState->setSelectedItemID(QString());
        return true;
    default:
        break;
    }
    if (key == Qt::Key_N && (modifiers & Qt::ControlModifier)) {
        m_focusState->setFocusedSection(PanelFocusState::Input);
        return true;
    }
    if (isUndoShortcut(key, modifiers)) {
        undoShortcut();
        return true;
    }
    // With Ctrl held a delete key may produce no text at all.
    if (key == Qt::Key_Backspace || key == Qt::Key_Delete || containsDeleteCharacter(text)) {
        deleteSelectedItem();
        return true;
    }
    return false;
}

void PanelKeyboard::cycleFocus()
{
    if (!m_focusState || !m_store)
        return;
    switch (m_focusState->focusedSection()) {
    case PanelFocusState::Input:
    case PanelFocusState::NoSection:
        m_focusState->setDateFocusedViaTab(true);
        m_focusState->setFocusedSection(PanelFocusState::Date);
        break;
    case PanelFocusState::Date: {
        const QList<TodoItem> items = m_store->itemsForSelectedDate();
        if (items.isEmpty()) {
            m_focusState->setFocusedSection(PanelFocusState::Input);
        } else {
            m_focusState->setFocusedSection(PanelFocusState::List);
            m_focusState->setSelectedItemID(items.first().id.toString());
        }
        break;
    }
    case PanelFocusState::List:
        m_focusState->setSelectedItemID(QString());
        m_focusState->setFocusedSection(PanelFocusState::Input);
        break;
    }
}

qsizetype PanelKeyboard::selectedPosition() const
{
    if (!m_focusState || !m_store || m_focusState->selectedItemID().isEmpty())
        return -1;
    const QUuid id(m_focusState->selectedItemID());
    if (id.isNull())
        return -1;
    const QList<TodoItem> items = m_store->itemsForSelectedDate();
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].id == id)
            return i;
    }
    return -1;
}

void PanelKeyboard::select(qsizetype position)
{
    const QList<TodoItem> items = m_store->itemsForSelectedDate();
    m_focusState->setSelectedItemID(items.at(position).id.toString());
}

void PanelKeyboard::moveSelection(int step)
{
    if (!m_focusState || !m_store)
        return;
    const qsizetype count = m_store->itemsForSelectedDate().size();
    if (count == 0)
        return;
    const qsizetype current = selectedPosition();
    if (current < 0) {
        select(step < 1 ? count - 1 : 0);
        return;
    }
    select(std::clamp<qsizetype>(current + step, 0, count - 1));
}

void PanelKeyboard::toggleSelectedItem()
{
    const qsizetype position = selectedPosition();
    if (position < 0)
        return;
    // The completion icon and the title change on the row's own spring.
    m_store->toggleCompletion(m_store->itemsForSelectedDate().at(position));
}

void PanelKeyboard::deleteSelectedItem()
{
    const qsizetype position = selectedPosition();
    if (position < 0)
        return;
    // The row fades out and the rows below close up on the list's spring.
    m_store->deleteTodo(m_store->itemsForSelectedDate().at(position));
    const qsizetype count = m_store->itemsForSelectedDate().size();
    if (count > 0) {
        select(std::min(position, count - 1));
        return;
    }
    m_focusState->setSelectedItemID(QString());
    m_focusState->setFocusedSection(PanelFocusState::NoSection);
    // By the next turn the placeholder stands where the list was; it takes
    // the list's section even if the focus went elsewhere in between.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_focusState)
                m_focusState->setFocusedSection(PanelFocusState::List);
        },
        Qt::QueuedConnection);
}

void PanelKeyboard::undoShortcut()
{
    // The restored row fades in on the list's ease-in-out insertion.
    if (m_store)
        m_store->undoLastDelete();
}
