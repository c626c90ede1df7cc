// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/screen_description.h"

#include <QObject>

#include <optional>

// The screens of the window system.
class ScreenProvider : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // The primary screen, or nothing when there is no screen at all.
    virtual std::optional<ScreenDescription> primaryScreen() const = 0;

Q_SIGNALS:
    // Once per change of the configuration: a screen added or removed, the
    // primary screen changed, or a geometry or available geometry changed.
    void screenConfigurationChanged();
};
