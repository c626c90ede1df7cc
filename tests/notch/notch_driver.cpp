// Runs the notch on its own: the sensor over the top-centre strip and the
// panel with its controller, without the tray item or the views. For the
// tests and benchmarks on a real X server, and for trying the windows by hand.
#include "notch/dropdown_panel.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "qt_pointer_locator.h"
#include "qt_scheduler.h"
#include "qt_screen_provider.h"
#include "x11_press_monitors.h"

#include <QGuiApplication>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    QtScreenProvider screens;
    QtScheduler scheduler;
    X11PressMonitors monitors;
    QtPointerLocator pointer;

    const NotchGeometry geometry = detectNotchGeometry(screens);
    NotchSensorWindow sensor(geometry.sensorRect);
    DropdownPanelController controller(nullptr, geometry, std::make_unique<DropdownPanel>(),
                                       DropdownPanelController::Services{&scheduler, &monitors, &pointer});
    sensor.setSensorDelegate(&controller);
    sensor.orderFront();

    QObject::connect(&screens, &ScreenProvider::screenConfigurationChanged, &controller, [&] {
        const NotchGeometry g = detectNotchGeometry(screens);
        sensor.reposition(g.sensorRect);
        controller.setGeometry(g);
        if (controller.isVisible())
            controller.panel()->setFrame(g.panelFrame());
    });
    return app.exec();
}
