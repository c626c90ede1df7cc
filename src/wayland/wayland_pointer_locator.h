// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include "platform/pointer_locator.h"

#include <QObject>
#include <QPointer>
#include <QWindow>

// Where the pointer is, as far as a Wayland client may know: a compositor
// tells a client of the pointer only while it is over one of the client's
// surfaces. Qt keeps the last position it heard of; over another client's
// surface the pointer is reported far outside every screen instead, so that
// it lies in none of this program's windows.
class WaylandPointerLocator : public QObject, public PointerLocator
{
    Q_OBJECT

public:
    explicit WaylandPointerLocator(QObject *parent = nullptr);
    ~WaylandPointerLocator() override;

    QPointF position() const override;
    // Whether the pointer is over one of this program's windows.
    bool isOverOwnWindow() const { return !m_under.isNull(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The window of this program the pointer is over, if any.
    QPointer<QWindow> m_under;
};
