// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/screen_provider.h"

class QScreen;
class X11ReservationWatcher;

// The screens as QGuiApplication reports them, with the top panel's height
// read from the X server: Qt's available geometry ignores the desktop's
// work area as soon as there are several monitors, and dock windows' struts
// altogether. Without X11 the available geometry is all there is.
class QtScreenProvider : public ScreenProvider
{
    Q_OBJECT

public:
    explicit QtScreenProvider(QObject *parent = nullptr);

    std::optional<ScreenDescription> primaryScreen() const override;

private:
    ScreenDescription describe(const QScreen *screen) const;
    void watch(QScreen *screen);
    void noteChange();

    X11ReservationWatcher *m_reservations = nullptr;
    bool m_changePending = false;
};
