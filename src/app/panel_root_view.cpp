// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/panel_root_view.h"

#include "model/todo_store.h"
#include "notch/notch_animation_state.h"

#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>

Q_LOGGING_CATEGORY(lcPanelView, "marlowick.panel")

PanelRootViewFactory panelRootViewFactory(TodoStore *store)
{
    return [store](QQmlEngine *engine, const PanelRootViewSetup &setup) -> QQuickItem * {
        // The module's QML files are compiled in under qrc:/Marlowick.
        engine->addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(engine);
        component.setData("import Marlowick\nPanelContainerView {}", QUrl());
        QObject *view = component.createWithInitialProperties({
            {QStringLiteral("store"), QVariant::fromValue(store)},
            {QStringLiteral("animationState"), QVariant::fromValue(setup.animationState)},
            {QStringLiteral("notchWidth"), setup.notchWidth},
        });
        if (!view) {
            qCCritical(lcPanelView).noquote() << "The panel's view could not be made:" << component.errorString();
            return nullptr;
        }
        return qobject_cast<QQuickItem *>(view);
    };
}
