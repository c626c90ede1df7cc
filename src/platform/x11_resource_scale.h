// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <optional>

// Follows Xft.dpi in the X resources (the RESOURCE_MANAGER property of the
// root window, which `xrdb -merge` changes) while the program runs, as Qt
// follows the same setting from an XSETTINGS manager: Qt reads the resources
// once, at start. A change scales every screen, and so every window, as a
// start with the new value would have.
class X11ResourceScale : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11ResourceScale(QObject *parent = nullptr);
    ~X11ResourceScale() override;

    // The Xft.dpi value in the resources text, if it names one.
    static std::optional<int> xftDpi(const QByteArray &resources);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    std::optional<int> readXftDpi() const;
    void apply(int dpi);

    std::optional<int> m_dpi;
    // The scale Qt chose at start, for the dpi it read then.
    qreal m_startScale = 1;
    int m_startDpi = 96;
};
