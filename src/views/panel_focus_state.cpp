// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/panel_focus_state.h"

void PanelFocusState::setFocusedSection(ActiveSection section)
{
    if (section == m_focusedSection)
        return;
    m_focusedSection = section;
    if (section != Date)
        setDateFocusedViaTab(false);
    Q_EMIT focusedSectionChanged();
}

void PanelFocusState::setSelectedItemID(const QString &id)
{
    if (id == m_selectedItemID)
        return;
    m_selectedItemID = id;
    Q_EMIT selectedItemIDChanged();
}

void PanelFocusState::setEditingItemID(const QString &id)
{
    if (id == m_editingItemID)
        return;
    m_editingItemID = id;
    Q_EMIT editingItemIDChanged();
}

void PanelFocusState::setDateFocusedViaTab(bool viaTab)
{
    if (viaTab == m_dateFocusedViaTab)
        return;
    m_dateFocusedViaTab = viaTab;
    Q_EMIT dateFocusedViaTabChanged();
}

void PanelFocusState::focusSection(ActiveSection section)
{
    setDateFocusedViaTab(false);
    setFocusedSection(section);
}

void PanelFocusState::beginEditing(const QString &id)
{
    setEditingItemID(id);
    setFocusedSection(List);
}
