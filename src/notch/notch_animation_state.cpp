// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/notch_animation_state.h"

void NotchAnimationState::setOpen(bool open)
{
    if (open == m_isOpen)
        return;
    m_isOpen = open;
    Q_EMIT isOpenChanged();
}

void NotchAnimationState::setMouseInPanel(bool inPanel)
{
    if (inPanel == m_mouseInPanel)
        return;
    m_mouseInPanel = inPanel;
    Q_EMIT mouseInPanelChanged();
}
