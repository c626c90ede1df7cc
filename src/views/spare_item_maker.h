// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#pragma once

#include <QObject>
#include <QPointer>
#include <QtQmlIntegration/qqmlintegration.h>

#include <memory>

class QQmlComponent;
class QQmlIncubator;
class QQuickItem;

// Makes an item from a component ahead of time and hands it over when it is
// asked for, so that the moment it is needed costs no more than showing it.
// It is made between frames, by the engine's incubation controller, or at
// once when that is asked for. One spare at a time; a handed-over item
// belongs to its receiver (JavaScript ownership: destroy() it when done).
class SpareItemMaker : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQmlComponent *component READ component WRITE setComponent NOTIFY componentChanged)
    // The made items' parent.
    Q_PROPERTY(QQuickItem *parentItem READ parentItem WRITE setParentItem NOTIFY parentItemChanged)

public:
    explicit SpareItemMaker(QObject *parent = nullptr);
    ~SpareItemMaker() override;

    QQmlComponent *component() const { return m_component; }
    void setComponent(QQmlComponent *component);
    QQuickItem *parentItem() const { return m_parentItem; }
    void setParentItem(QQuickItem *parentItem);

    // Starts making the spare between frames, unless there is one already
    // or it is being made.
    Q_INVOKABLE void prepare();
    // Makes the spare at once (finishing one under way), where the time it
    // takes goes unnoticed.
    Q_INVOKABLE void prepareNow();
    // Asks for the item: itemReady comes at once if the spare is there,
    // else as soon as it is made.
    Q_INVOKABLE void request();
    // Withdraws the request; an item still being made becomes the spare.
    Q_INVOKABLE void cancelRequest() { m_requested = false; }

Q_SIGNALS:
    void componentChanged();
    void parentItemChanged();
    void itemReady(QQuickItem *item);

private:
    class Incubator;
    bool isMaking() const;
    void startMaking(bool atOnce);
    void adopt(QObject *object);
    void made(QQmlIncubator &incubator);
    void handOverIfRequested();

    QPointer<QQmlComponent> m_component;
    QPointer<QQuickItem> m_parentItem;
    std::unique_ptr<Incubator> m_incubator;
    QPointer<QQuickItem> m_spare;
    bool m_requested = false;
};
