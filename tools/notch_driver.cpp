// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Runs the notch on its own: the sensor over the top-centre strip and the
// panel with its controller, without the tray item or the views. For the
// tests and benchmarks on a real X server, and for trying the windows by hand.
//
//   notch_driver [--root-view FILE.qml]
//
// With --root-view the panel shows that QML file as its root view, built the
// way the program builds its own: the file may declare the properties
// animationState and notchWidth, and import Marlowick.
#include "app/quick_renderer.h"
#include "notch/dropdown_panel.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "platform/qt_pointer_locator.h"
#include "platform/qt_scheduler.h"
#include "platform/qt_screen_provider.h"
#include "platform/x11_press_monitors.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>

namespace {

PanelRootViewFactory qmlFileRootView(const QString &path)
{
    if (path.isEmpty())
        return {};
    return [path](QQmlEngine *engine, const PanelRootViewSetup &setup) -> QQuickItem * {
        engine->addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(engine, QUrl::fromLocalFile(path));
        const QVariantMap properties{
            {QStringLiteral("animationState"), QVariant::fromValue(setup.animationState)},
            {QStringLiteral("notchWidth"), setup.notchWidth},
        };
        QObject *object = component.createWithInitialProperties(properties);
        if (!object)
            qWarning("%s", qPrintable(component.errorString()));
        return qobject_cast<QQuickItem *>(object);
    };
}

} // namespace

int main(int argc, char **argv)
{
    QuickRenderer::preferSoftware();
    QGuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    QCommandLineParser arguments;
    const QCommandLineOption rootView(QStringLiteral("root-view"), QStringLiteral("QML file of the root view"),
                                      QStringLiteral("file"));
    arguments.addOption(rootView);
    arguments.process(app);

    QtScreenProvider screens;
    QtScheduler scheduler;
    X11PressMonitors monitors;
    QtPointerLocator pointer;

    const NotchGeometry geometry = detectNotchGeometry(screens);
    NotchSensorWindow sensor(geometry.sensorDeviceRect);
    DropdownPanelController controller(geometry, std::make_unique<DropdownPanel>(),
                                       DropdownPanelController::Services{&scheduler, &monitors, &pointer},
                                       qmlFileRootView(arguments.value(rootView)));
    controller.connectSensor(&sensor);
    sensor.show();

    QObject::connect(&screens, &ScreenProvider::screenConfigurationChanged, &controller, [&] {
        const NotchGeometry g = detectNotchGeometry(screens);
        sensor.reposition(g.sensorDeviceRect);
        controller.setGeometry(g);
        if (controller.isOpen())
            controller.panel()->setFrame(g.panelFrame());
    });
    return app.exec();
}
