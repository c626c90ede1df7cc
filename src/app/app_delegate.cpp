// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "app/app_delegate.h"

#include "app/panel_root_view.h"
#include "app/status_item.h"

#include "model/todo_store.h"
#include "notch/dropdown_panel.h"
#include "notch/dropdown_panel_controller.h"
#include "notch/notch_animation_state.h"
#include "notch/notch_geometry.h"
#include "notch/notch_sensor_window.h"
#include "platform/screen_provider.h"
#include "storage/recovery_file.h"
#include "storage/todo_storage.h"
#include "views/panel_metrics.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcApp, "marlowick.app", QtWarningMsg)

namespace {

// Ctrl+Q in the open panel quits, as the menu's entry does. (A QShortcut
// would not fire here: under QApplication, shortcuts are matched against
// widgets only, and the panel is a Qt Quick window.)
class QuitKeyFilter : public QObject
{
public:
    QuitKeyFilter(AppDelegate *delegate, QObject *parent)
        : QObject(parent)
        , m_delegate(delegate)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Q)) {
                m_delegate->quitApp();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    AppDelegate *m_delegate;
};

// Where the sensor is, in the X server's pixels, as xwininfo would say.
QString describe(const NotchGeometry &geometry)
{
    const QRect &rect = geometry.sensorDeviceRect;
    return QStringLiteral("%1x%2+%3+%4%5")
        .arg(rect.width())
        .arg(rect.height())
        .arg(rect.x())
        .arg(rect.y())
        .arg(geometry.sensorIsScreenEdge ? QStringLiteral(" (screen edge)") : QString());
}

} // namespace

AppDelegate::AppDelegate(const Services &services, QObject *parent)
    : AppDelegate(services, Factories{}, parent)
{
}

AppDelegate::AppDelegate(const Services &services, Factories factories, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_factories(std::move(factories))
{
    if (!m_factories.store)
        m_factories.store = [] { return std::make_unique<TodoStore>(); };
    if (!m_factories.dropdownPanel)
        m_factories.dropdownPanel = [] { return std::make_unique<DropdownPanel>(); };
    if (!m_factories.sensor) {
        m_factories.sensor = [](const NotchGeometry &geometry) {
            return std::make_unique<NotchSensorWindow>(geometry.sensorDeviceRect);
        };
    }
    if (!m_factories.panel) {
        m_factories.panel = [this]() -> std::unique_ptr<PanelWindow> {
            std::unique_ptr<DropdownPanel> panel = m_factories.dropdownPanel();
            panel->installEventFilter(new QuitKeyFilter(this, panel.get()));
            return panel;
        };
    }
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::start()
{
    if (m_store)
        return;
    m_store = m_factories.store();
    qCInfo(lcApp, "loaded %lld to-dos", static_cast<long long>(m_store->items().size()));
    setupWindows();
    // Never removed: the delegate lives as long as the program.
    connect(m_services.screens, &ScreenProvider::screenConfigurationChanged, this, &AppDelegate::setupWindows);
    qCInfo(lcApp, "ready: sensor %s, tray item %s", qPrintable(describe(m_panelController->geometry())),
           m_statusItem ? "requested" : "not made");
    Q_EMIT ready();
}

void AppDelegate::setupWindows()
{
    if (!m_store)
        return;
    const NotchGeometry geometry = detectNotchGeometry(*m_services.screens);
    if (!m_sensorWindow) {
        m_sensorWindow = m_factories.sensor(geometry);
        m_panelController = std::make_unique<DropdownPanelController>(
            geometry, m_factories.panel(),
            DropdownPanelController::Services{m_services.scheduler, m_services.pressMonitors, m_services.pointer},
            panelRootViewFactory(m_store.get()));
        m_panelController->connectSensor(m_sensorWindow.get());
        connect(m_panelController->animationState(), &NotchAnimationState::isOpenChanged, this, [this] {
            if (m_panelController->animationState()->isOpen())
                m_store->saveIfBehind(); // a failed save is tried again at every opening
            else
                notePanelClosed();
        });
    } else {
        m_panelController->setGeometry(geometry);
        // A closed or closing panel takes the new frame when it next opens.
        if (m_panelController->isOpen())
            m_panelController->panel()->setFrame(geometry.panelFrame());
        qCInfo(lcApp, "screens changed: sensor %s", qPrintable(describe(geometry)));
    }
    m_sensorWindow->place(geometry);

    if (!m_statusItem && m_factories.statusItem) {
        if (!StatusItem::isTrayAvailable()) {
            qWarning("marlowick: this desktop shows no system tray; open the panel by moving the pointer to the "
                     "top centre of the screen");
        }
        // Made all the same: a tray that starts later picks the item up.
        m_statusItem = std::make_unique<StatusItem>();
        connect(m_statusItem.get(), &StatusItem::clicked, this, &AppDelegate::togglePanelFromTray);
        connect(m_statusItem.get(), &StatusItem::quitRequested, this, &AppDelegate::quitApp);
    }
}

void AppDelegate::togglePanelFromTray()
{
    if (!m_panelController)
        return;
    if (m_panelController->isOpen())
        m_panelController->hidePanel();
    else if (!m_justClosed.isValid())
        m_panelController->showPanel();
}

void AppDelegate::notePanelClosed()
{
    m_services.scheduler->cancel(m_justClosed);
    m_justClosed = m_services.scheduler->runAfter(PanelMetrics::trayClickGrace(), this, [this] { m_justClosed = {}; });
}

void AppDelegate::showPanel()
{
    if (m_panelController)
        m_panelController->showPanel();
}

void AppDelegate::showAddField()
{
    if (!m_panelController)
        return;
    m_panelController->showPanel();
    // An open panel may have lost the keyboard to a window that came up.
    m_panelController->panel()->requestActivate();
    m_panelController->animationState()->requestAddField();
}

void AppDelegate::togglePanel()
{
    if (m_panelController)
        m_panelController->togglePanel();
}

void AppDelegate::quitApp()
{
    QCoreApplication::quit();
}

void AppDelegate::saveBeforeExit()
{
    if (!m_store || m_store->saveIfBehind())
        return;
    QString error;
    const QString notice = m_store->storageNotice();
    if (const auto path = RecoveryFile::write(TodoStore::itemsDefaultsKey, m_store->items(), &error)) {
        qWarning("marlowick: %s. The whole to-do list is in %s: to bring it back, copy that file over %s while "
                 "Marlowick is not running.",
                 qPrintable(notice), qPrintable(*path), qPrintable(SettingsTodoStorage::defaultFileName()));
    } else {
        qCritical("marlowick: %s, and no recovery file could be written either (%s).", qPrintable(notice),
                  qPrintable(error));
    }
}
