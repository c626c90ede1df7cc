// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/dropdown_panel.h"

#include "notch/notch_animation_state.h"
#include "views/panel_metrics.h"

#include <QMouseEvent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSurfaceFormat>

DropdownPanel::DropdownPanel(QWindow *parent)
    : QQuickWindow(parent)
{
    // Made here, not among the members: adding a child sends an event that
    // event() handles with every member in place.
    m_shape = new PanelWindowShape(this);
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    setTitle(QStringLiteral("Marlowick"));
    // An alpha channel, so that a compositing manager can show what lies
    // around the root view's body.
    QSurfaceFormat surface = format();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::black);
    const QSize size(int(PanelMetrics::windowWidth()), int(PanelMetrics::windowHeight()));
    resize(size);
    setMinimumSize(size);
    setMaximumSize(size);
}

DropdownPanel::~DropdownPanel()
{
    // The root item belongs to the scene; it goes before the engine it was
    // built in.
    delete m_rootItem;
}

void DropdownPanel::setFrame(const QRectF &frame)
{
    setGeometry(QRect(qRound(frame.x()), qRound(frame.y()), qRound(frame.width()), qRound(frame.height())));
    update();
}

QRectF DropdownPanel::frame() const
{
    return QRectF(geometry());
}

void DropdownPanel::requestActivate()
{
    create();
    if (!X11KeyboardLoan::shared().take(this))
        QQuickWindow::requestActivate();
}

bool DropdownPanel::isPanelWindow(const QWindow *window) const
{
    return window == this;
}

void DropdownPanel::hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup)
{
    m_standInHoverState = setup.animationState;
    // Building the view costs more than all the rest of the start-up: it is
    // built when the program is up, at the event loop's next turn, or at
    // the first showing if that comes sooner.
    m_pendingRootView = [this, factory, setup] { setRootItem(factory ? factory(engine(), setup) : nullptr); };
    QMetaObject::invokeMethod(this, &DropdownPanel::buildRootView, Qt::QueuedConnection);
}

void DropdownPanel::buildRootView()
{
    if (const auto build = std::exchange(m_pendingRootView, {}))
        build();
}

QQmlEngine *DropdownPanel::engine()
{
    if (!m_engine) {
        m_engine = new QQmlEngine(this);
        // Objects the views make asynchronously are made between this
        // window's frames, as in a QQuickView.
        m_engine->setIncubationController(incubationController());
    }
    return m_engine;
}

void DropdownPanel::setRootItem(QQuickItem *item)
{
    m_pendingRootView = {};
    if (item == m_rootItem)
        return;
    if (m_rootItem) {
        m_rootItem->disconnect(this);
        m_rootItem->setParentItem(nullptr);
        m_rootItem->deleteLater();
    }
    m_rootItem = item;
    if (item) {
        item->setParent(contentItem());
        item->setParentItem(contentItem());
        connect(item, &QQuickItem::widthChanged, this, &DropdownPanel::placeRootItem);
        placeRootItem();
    }
    setColor(item ? QColor(Qt::transparent) : QColor(Qt::black));
    // The stand-in body fills the window.
    auto *outline = item ? item->property("outline").value<QQuickItem *>() : nullptr;
    m_shape->setOutlineItem(outline ? outline : item);
}

void DropdownPanel::placeRootItem()
{
    if (m_rootItem)
        m_rootItem->setPosition(QPointF((width() - m_rootItem->width()) / 2, 0));
}

bool DropdownPanel::event(QEvent *event)
{
    // Sent once the native window exists and before it is mapped.
    if (event->type() == QEvent::Show) {
        buildRootView();
        m_shape->refresh();
    }
    if (event->type() == QEvent::KeyPress && m_keyPressHandler)
        m_keyPressHandler();
    // A press in the window holds the pointer (the server's implicit grab)
    // until its last button is released, wherever that happens.
    if (event->type() == QEvent::MouseButtonPress) {
        m_buttonHeld = true;
    } else if (event->type() == QEvent::Hide) {
        m_buttonHeld = false; // the grab ends with the window, without a release
    } else if (event->type() == QEvent::MouseButtonRelease && m_buttonHeld
               && static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton) {
        m_buttonHeld = false;
        if (m_buttonReleaseHandler)
            m_buttonReleaseHandler();
    }
    if (!m_rootItem && m_standInHoverState) {
        if (event->type() == QEvent::Enter)
            m_standInHoverState->setMouseInPanel(true);
        else if (event->type() == QEvent::Leave)
            m_standInHoverState->setMouseInPanel(false);
    }
    return QQuickWindow::event(event);
}
