#include "dropdown_panel.h"

#include "notch_animation_state.h"
#include "notch_geometry.h"
#include "x11_connection.h"

#include <QQmlEngine>
#include <QQuickItem>
#include <QSurfaceFormat>
#include <QTimer>

#include <xcb/shape.h>

DropdownPanel::DropdownPanel(QWindow *parent)
    : QQuickWindow(parent)
{
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint);
    setTitle(QStringLiteral("Marlowick"));
    // An alpha channel, so that a compositing manager can show what lies
    // around the root view's body.
    QSurfaceFormat surface = format();
    surface.setAlphaBufferSize(8);
    setFormat(surface);
    setColor(Qt::black);
    const QSize size(int(NotchGeometry::panelWidth), int(NotchGeometry::panelHeight));
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
    m_warmingUp = false;
    setGeometry(QRect(qRound(frame.x()), qRound(frame.y()), qRound(frame.width()), qRound(frame.height())));
    update();
}

QRectF DropdownPanel::frame() const
{
    return QRectF(geometry());
}

void DropdownPanel::orderFront()
{
    // A compositing manager may have started or stopped since the last time.
    // The X window must exist for the shape to reach it.
    create();
    updateShape();
    show();
    raise();
}

void DropdownPanel::makeKey()
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c) {
        requestActivate();
        return;
    }
    // The map request went out before this one on the same connection, so
    // the window is viewable by the time the server sets the focus.
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, xcb_window_t(winId()), XCB_CURRENT_TIME);
    xcb_flush(c);
}

void DropdownPanel::warmUp(const std::function<void()> &drawn)
{
    // A window's first frame costs its graphics context, the render thread
    // and the scene graph's first glyphs and pipelines: tens of milliseconds,
    // paid here off every screen rather than at the first opening. X exposes
    // nothing off the screens, so the window is told it was exposed.
    xcb_connection_t *c = X11Connection::connection();
    if (!c || isVisible() || m_drawn) {
        drawn();
        return;
    }
    m_warmingUp = true;
    m_drawn = drawn;
    setGeometry(QRect(QPoint(-4 * width(), -4 * height()), size()));
    create();
    show();
    xcb_expose_event_t expose = {};
    expose.response_type = XCB_EXPOSE;
    expose.window = xcb_window_t(winId());
    expose.width = uint16_t(width() * devicePixelRatio());
    expose.height = uint16_t(height() * devicePixelRatio());
    xcb_send_event(c, 0, expose.window, XCB_EVENT_MASK_EXPOSURE, reinterpret_cast<const char *>(&expose));
    xcb_flush(c);
    connect(this, &QQuickWindow::frameSwapped, this, &DropdownPanel::finishWarmUp,
            Qt::ConnectionType(Qt::QueuedConnection | Qt::SingleShotConnection));
    // A frame that never comes (no graphics at all) must not hold up the rest.
    QTimer::singleShot(2000, this, &DropdownPanel::finishWarmUp);
}

void DropdownPanel::finishWarmUp()
{
    if (!m_drawn)
        return;
    // Opened meanwhile: it stays where the opening put it.
    if (m_warmingUp)
        hide();
    m_warmingUp = false;
    std::exchange(m_drawn, {})();
}

void DropdownPanel::orderOut()
{
    hide();
}

bool DropdownPanel::isPanelWindow(const QWindow *window) const
{
    return window == this;
}

void DropdownPanel::hostRootView(const PanelRootViewFactory &factory, const PanelRootViewSetup &setup)
{
    m_standInHoverState = setup.animationState;
    QQuickItem *item = factory ? factory(engine(), setup) : nullptr;
    setRootItem(item);
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
        for (auto signal : {&QQuickItem::xChanged, &QQuickItem::yChanged, &QQuickItem::widthChanged,
                            &QQuickItem::heightChanged, &QQuickItem::visibleChanged})
            connect(item, signal, this, &DropdownPanel::updateShape);
        placeRootItem();
    }
    setColor(item ? QColor(Qt::transparent) : QColor(Qt::black));
    updateShape();
}

void DropdownPanel::placeRootItem()
{
    if (m_rootItem)
        m_rootItem->setPosition(QPointF((width() - m_rootItem->width()) / 2, 0));
}

void DropdownPanel::updateShape()
{
    // The stand-in body fills the window; with a compositing manager the
    // transparent pixels around the root view are really transparent.
    if (!m_rootItem || X11Connection::hasCompositingManager()) {
        setMask(QRegion());
        return;
    }
    const QRect body = m_rootItem->isVisible()
        ? m_rootItem->mapRectToScene(QRectF(0, 0, m_rootItem->width(), m_rootItem->height())).toAlignedRect()
        : QRect();
    if (!body.isEmpty()) {
        setMask(QRegion(body));
        return;
    }
    // QWindow::setMask takes an empty region to mean "no mask", which would
    // show the whole window while the body is closed. An empty X shape hides
    // every pixel.
    xcb_connection_t *c = X11Connection::connection();
    if (c && handle()) {
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
                             xcb_window_t(winId()), 0, 0, 0, nullptr);
        xcb_flush(c);
    }
}

bool DropdownPanel::event(QEvent *event)
{
    if (!m_rootItem && m_standInHoverState) {
        if (event->type() == QEvent::Enter)
            m_standInHoverState->setMouseInPanel(true);
        else if (event->type() == QEvent::Leave)
            m_standInHoverState->setMouseInPanel(false);
    }
    return QQuickWindow::event(event);
}
