// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration/qqmlintegration.h>

// The view state of one open panel that the mouse and the keyboard share:
// which section holds the keyboard focus, the selected to-do, the to-do being
// edited in place and whether the day header got the focus by Tab. A new one
// is made with every list view, so none of it survives closing the panel.
//
// It alone decides where the keyboard focus is: the views give the focus to
// the element of focusedSection and never write back what the focus did.
// Clicks come as requests (focusSection, beginEditing, endEditing), keys
// through PanelKeyboard.
class PanelFocusState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(ActiveSection focusedSection READ focusedSection NOTIFY focusedSectionChanged)
    Q_PROPERTY(QString selectedItemID READ selectedItemID NOTIFY selectedItemIDChanged)
    Q_PROPERTY(QString editingItemID READ editingItemID NOTIFY editingItemIDChanged)
    Q_PROPERTY(bool dateFocusedViaTab READ dateFocusedViaTab NOTIFY dateFocusedViaTabChanged)

public:
    // NoSection: no element of the panel has the keyboard focus.
    enum ActiveSection { NoSection, Date, List, Input };
    Q_ENUM(ActiveSection)

    using QObject::QObject;

    ActiveSection focusedSection() const { return m_focusedSection; }
    // A change to any section but the header clears dateFocusedViaTab.
    void setFocusedSection(ActiveSection section);

    // Ids as text; empty for none.
    QString selectedItemID() const { return m_selectedItemID; }
    void setSelectedItemID(const QString &id);
    QString editingItemID() const { return m_editingItemID; }
    void setEditingItemID(const QString &id);

    bool dateFocusedViaTab() const { return m_dateFocusedViaTab; }
    void setDateFocusedViaTab(bool viaTab);

    // A click in a section, or a shortcut that opened the panel, gives the
    // section the keyboard; the header then shows no Tab highlight.
    Q_INVOKABLE void focusSection(ActiveSection section);
    // A row edited in place holds the list section's focus until the edit
    // ends.
    Q_INVOKABLE void beginEditing(const QString &id);
    Q_INVOKABLE void endEditing() { setEditingItemID(QString()); }

Q_SIGNALS:
    void focusedSectionChanged();
    void selectedItemIDChanged();
    void editingItemIDChanged();
    void dateFocusedViaTabChanged();

private:
    ActiveSection m_focusedSection = NoSection;
    QString m_selectedItemID;
    QString m_editingItemID;
    bool m_dateFocusedViaTab = false;
};
