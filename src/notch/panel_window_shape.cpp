// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

#include "notch/panel_window_shape.h"

#include "platform/x11_connection.h"
#include "views/notch_shape_item.h"

#include <QEvent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QVarLengthArray>

#include <xcb/shape.h>

#include <cstdlib>

namespace {

// Input shapes came with version 1.1 of the extension.
bool serverHasInputShapes(xcb_connection_t *c)
{
    static const bool has = [c] {
        const xcb_query_extension_reply_t *shape = xcb_get_extension_data(c, &xcb_shape_id);
        if (!shape || !shape->present)
            return false;
        auto *version = xcb_shape_query_version_reply(c, xcb_shape_query_version(c), nullptr);
        const bool result = version && (version->major_version > 1 || version->minor_version >= 1);
        std::free(version);
        return result;
    }();
    return has;
}

void setShape(xcb_connection_t *c, xcb_window_t window, xcb_shape_kind_t kind, const QRegion &region)
{
    QVarLengthArray<xcb_rectangle_t, 64> rects;
    for (const QRect &r : region)
        rects.append({int16_t(r.x()), int16_t(r.y()), uint16_t(r.width()), uint16_t(r.height())});
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, window, 0, 0, uint32_t(rects.size()),
                         rects.constData());
}

} // namespace

PanelWindowShape::PanelWindowShape(QQuickWindow *window)
    : QObject(window)
    , m_window(window)
{
    // Once per frame, with the body where this frame draws it.
    connect(window, &QQuickWindow::afterAnimating, this, &PanelWindowShape::update);
    window->installEventFilter(this);
}

bool PanelWindowShape::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::Expose)
        return false;
    // isExposed() already tells the state this event brings.
    const bool stillExposed = m_exposed && m_window->isExposed();
    m_exposed = m_window->isExposed();
    if (!stillExposed)
        return false;
    m_window->update();
    return true;
}

void PanelWindowShape::setOutlineItem(QQuickItem *item)
{
    m_outlineItem = item;
    update();
}

void PanelWindowShape::refresh()
{
    // A compositing manager may have started or stopped since the last time.
    m_composited = X11Connection::hasCompositingManager();
    update();
}

QRegion PanelWindowShape::outlineRegion(qreal devicePixelRatio) const
{
    const QQuickItem *item = m_outlineItem ? m_outlineItem.get() : m_window->contentItem();
    if (!item->isVisible())
        return {};
    const QRectF rect = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    const auto *shapeItem = qobject_cast<const NotchShapeItem *>(item);
    return (shapeItem ? shapeItem->shape() : NotchShape{}).pixelRegion(rect, devicePixelRatio);
}

void PanelWindowShape::update()
{
    xcb_connection_t *c = X11Connection::connection();
    if (!c) {
        updateMask();
        return;
    }
    if (!m_window->handle() || !serverHasInputShapes(c))
        return;
    const QRegion outline = outlineRegion(m_window->devicePixelRatio());
    const quintptr window = m_window->winId();
    if (window == m_sentWindow && outline == m_sentOutline && m_composited == m_sentComposited)
        return;
    send(outline);
    m_sentWindow = window;
    m_sentOutline = outline;
    m_sentComposited = m_composited;
}

void PanelWindowShape::send(const QRegion &outline)
{
    xcb_connection_t *c = X11Connection::connection();
    const auto window = xcb_window_t(m_window->winId());
    setShape(c, window, XCB_SHAPE_SK_INPUT, outline);
    // Composited, the window shows everything and its transparent pixels
    // are transparent; otherwise they would be black, so only the outline
    // shows. An empty shape shows nothing at all, as a closed body should.
    if (!m_composited)
        setShape(c, window, XCB_SHAPE_SK_BOUNDING, outline);
    else if (!m_sentComposited || window != m_sentWindow)
        xcb_shape_mask(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, window, 0, 0, XCB_NONE);
    xcb_flush(c);
}

void PanelWindowShape::updateMask()
{
    // Qt's wayland platform makes the mask the surface's input region; in
    // logical pixels, which are the surface's own. An empty mask would be no
    // mask at all: a closed body takes its input off the surface instead.
    QRegion outline = outlineRegion(1);
    if (outline.isEmpty())
        outline = QRegion(-1, -1, 1, 1);
    if (outline != m_window->mask())
        m_window->setMask(outline);
}
