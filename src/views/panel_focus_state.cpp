#include "panel_focus_state.h"

void PanelFocusState::setFocusedSection(Section section)
{
    if (section == m_focusedSection)
        return;
    m_focusedSection = section;
    if (section != DateSection)
        setDateFocusedViaTab(false);
    Q_EMIT focusedSectionChanged();
}

void PanelFocusState::setSelectedItemId(const QString &id)
{
    if (id == m_selectedItemId)
        return;
    m_selectedItemId = id;
    Q_EMIT selectedItemIdChanged();
}

void PanelFocusState::setEditingItemId(const QString &id)
{
    if (id == m_editingItemId)
        return;
    m_editingItemId = id;
    Q_EMIT editingItemIdChanged();
}

void PanelFocusState::setDateFocusedViaTab(bool viaTab)
{
    if (viaTab == m_dateFocusedViaTab)
        return;
    m_dateFocusedViaTab = viaTab;
    Q_EMIT dateFocusedViaTabChanged();
}
