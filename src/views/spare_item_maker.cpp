// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "views/spare_item_maker.h"

#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlIncubator>
#include <QQuickItem>

Q_LOGGING_CATEGORY(lcSpareItem, "marlowick.views")

class SpareItemMaker::Incubator : public QQmlIncubator
{
public:
    Incubator(SpareItemMaker *maker, IncubationMode mode)
        : QQmlIncubator(mode)
        , m_maker(maker)
    {
    }

protected:
    // Placed before its bindings first run, as a QML-made child would be.
    void setInitialState(QObject *object) override { m_maker->adopt(object); }
    void statusChanged(Status status) override
    {
        if (status == Ready || status == Error)
            m_maker->made(*this);
    }

private:
    SpareItemMaker *m_maker;
};

SpareItemMaker::SpareItemMaker(QObject *parent)
    : QObject(parent)
{
}

SpareItemMaker::~SpareItemMaker()
{
    // An item half made goes with the incubator.
    m_incubator.reset();
}

void SpareItemMaker::setComponent(QQmlComponent *component)
{
    if (m_component == component)
        return;
    m_component = component;
    Q_EMIT componentChanged();
}

void SpareItemMaker::setParentItem(QQuickItem *parentItem)
{
    if (m_parentItem == parentItem)
        return;
    m_parentItem = parentItem;
    Q_EMIT parentItemChanged();
}

bool SpareItemMaker::isMaking() const
{
    return m_incubator && m_incubator->isLoading();
}

void SpareItemMaker::prepare()
{
    if (!m_spare && !isMaking())
        startMaking(false);
}

void SpareItemMaker::prepareNow()
{
    if (m_spare)
        return;
    if (isMaking())
        m_incubator->forceCompletion();
    else
        startMaking(true);
}

void SpareItemMaker::request()
{
    m_requested = true;
    if (m_spare)
        handOverIfRequested();
    else if (!isMaking())
        startMaking(false);
}

void SpareItemMaker::startMaking(bool atOnce)
{
    if (!m_component)
        return;
    // The last incubator is done with: its item is the spare or handed over.
    m_incubator = std::make_unique<Incubator>(this, atOnce ? QQmlIncubator::Synchronous : QQmlIncubator::Asynchronous);
    // In the context the component was declared in, whose ids it uses.
    m_component->create(*m_incubator, m_component->creationContext());
}

void SpareItemMaker::adopt(QObject *object)
{
    QQmlEngine::setObjectOwnership(object, QQmlEngine::JavaScriptOwnership);
    object->setParent(m_parentItem);
    if (auto *item = qobject_cast<QQuickItem *>(object))
        item->setParentItem(m_parentItem);
}

void SpareItemMaker::made(QQmlIncubator &incubator)
{
    for (const QQmlError &error : incubator.errors())
        qCWarning(lcSpareItem).noquote() << error.toString();
    m_spare = qobject_cast<QQuickItem *>(incubator.object());
    handOverIfRequested();
}

void SpareItemMaker::handOverIfRequested()
{
    if (!m_spare || !m_requested)
        return;
    QQuickItem *item = m_spare;
    m_spare = nullptr;
    m_requested = false;
    Q_EMIT itemReady(item);
}
