// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/status_item.h"

#include "platform/x11_keyboard_loan.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// A check list: white marks on a dark tile, so that it reads on light and on
// dark panels alike.
QIcon checklistIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);

        // The same drawing as marlowick.svg, on a 24-unit grid.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1e, 0x1e, 0x1e));
        painter.drawRoundedRect(QRectF(1, 1, 22, 22), 5, 5);
        QPen pen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        for (double y : {7.5, 12.0, 16.5}) {
            QPainterPath check;
            check.moveTo(5.0, y);
            check.lineTo(6.6, y + 1.6);
            check.lineTo(9.4, y - 1.4);
            painter.drawPath(check);
            painter.drawLine(QPointF(12.0, y), QPointF(19.0, y));
        }
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

StatusItem::StatusItem(QObject *parent)
    : QObject(parent)
{
    // Named for screen readers, which read a menu by its title.
    m_menu.setTitle(QStringLiteral("Marlowick"));
    QAction *quit = m_menu.addAction(tr("Quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(quit, &QAction::triggered, this, &StatusItem::quitRequested);

    m_menu.installEventFilter(this);

    m_trayIcon.setIcon(checklistIcon());
    // Read out by screen readers and shown on hover: how to open the panel,
    // which the item alone does not tell.
    m_trayIcon.setToolTip(tr("Marlowick: click to open your to-dos, or move the pointer to the top centre of the "
                             "screen. Right click to quit."));
    m_trayIcon.setContextMenu(&m_menu);
    connect(&m_trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT clicked();
    });
    m_trayIcon.show();
}

bool StatusItem::eventFilter(QObject *watched, QEvent *event)
{
    // The menu takes the keyboard from the program's window that has it.
    // The right press that opens the menu also closes an open panel, which
    // had the keyboard; when the panel then goes, the keyboard would go to
    // no window of the program, and Qt closes a program's menu as it loses
    // the keyboard. (Shown means about to be mapped: the focus follows once
    // it is. Another program's keyboard stays where it is.) When the menu
    // goes, the keyboard goes back to where the panel had it from.
    if (watched == &m_menu && event->type() == QEvent::Show) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_menu.isVisible() && QGuiApplication::focusWindow())
                    X11KeyboardLoan::shared().take(m_menu.windowHandle());
            },
            Qt::QueuedConnection);
    } else if (watched == &m_menu && event->type() == QEvent::Hide) {
        X11KeyboardLoan::shared().giveBack(m_menu.windowHandle());
    }
    return QObject::eventFilter(watched, event);
}
