// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "views/panel_focus_state.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQmlIntegration/qqmlintegration.h>

class TodoStore;

// The keys of the open panel and what they do to its focus state and to the
// store. Each element of the list view hands its key presses to its handler
// here and passes on what the handler leaves (true: handled, the press goes
// no further; false: offered to the enclosing element):
//
//   whole view   Tab, Shift+Tab (auto-repeats too)    cycleFocus
//                Escape                               closeRequested
//   day header   Left / Right (auto-repeats too)      previous / next day
//                Ctrl+Z                               undoShortcut
//   list         Up, Down, Return, Space, Escape, Ctrl+N, Ctrl+Z, Backspace / Delete
//   placeholder  Ctrl+Z                               undoShortcut
//
// The list, the header's Ctrl+Z, the placeholder and Escape take the initial
// press of a key only: a held Up moves one row. Escape closes the panel from
// wherever the list, the edit in place (and the add field's input method)
// leave it: the add field, the header, the placeholder, or no focus at all. While a row is edited in place the
// list takes no key at all, so the edit field and its row get them.
class PanelKeyboard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PanelFocusState *focusState READ focusState WRITE setFocusState NOTIFY focusStateChanged)
    Q_PROPERTY(TodoStore *store READ store WRITE setStore NOTIFY storeChanged)

public:
    using QObject::QObject;

    PanelFocusState *focusState() const { return m_focusState; }
    void setFocusState(PanelFocusState *focusState);
    TodoStore *store() const { return m_store; }
    void setStore(TodoStore *store);

    // Key handlers, one per element; `modifiers` is a Qt::KeyboardModifiers
    // value and `text` the text the press produces.
    Q_INVOKABLE bool viewKeyPressed(int key, int modifiers, const QString &text, bool isAutoRepeat);
    Q_INVOKABLE bool headerKeyPressed(int key, int modifiers, const QString &text, bool isAutoRepeat);
    Q_INVOKABLE bool listKeyPressed(int key, int modifiers, const QString &text, bool isAutoRepeat);
    Q_INVOKABLE bool placeholderKeyPressed(int key, int modifiers, const QString &text, bool isAutoRepeat);

    // The Tab step: add field (or nowhere) -> header, highlighted; header ->
    // list with its first row selected, or -> add field on a day without
    // to-dos; list -> add field, without selection.
    Q_INVOKABLE void cycleFocus();
    // Moves the selection by `step` rows within the day, without wrapping
    // around; with no selection (or one not on this day) a step down selects
    // the first row and a step up the last.
    Q_INVOKABLE void moveSelection(int step);
    Q_INVOKABLE void toggleSelectedItem();
    // Deletes the selected to-do and selects the row that took its place (or
    // the new last row). After the day's last row the focus leaves the list
    // and comes back to the placeholder one turn of the event loop later,
    // once the placeholder has taken the list's place.
    Q_INVOKABLE void deleteSelectedItem();
    // Restores the newest deletion of the shown day; selects nothing.
    Q_INVOKABLE void undoShortcut();

Q_SIGNALS:
    void focusStateChanged();
    void storeChanged();
    // Escape: the panel is to close (a draft stays, as at every closing).
    void closeRequested();

private:
    static bool isUndoShortcut(int key, int modifiers);
    // Position of the selected to-do among the day's; -1 for none.
    qsizetype selectedPosition() const;
    void select(qsizetype position);

    QPointer<PanelFocusState> m_focusState;
    QPointer<TodoStore> m_store;
};
