// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/screen_provider.h"

// Screens filled in by hand.
class FakeScreenProvider : public ScreenProvider
{
public:
    QList<ScreenDescription> screenList;
    // Index into screenList; -1: no primary screen.
    int primaryIndex = 0;

    std::optional<ScreenDescription> primaryScreen() const override
    {
        if (primaryIndex < 0 || primaryIndex >= screenList.size())
            return std::nullopt;
        return screenList.at(primaryIndex);
    }
};
