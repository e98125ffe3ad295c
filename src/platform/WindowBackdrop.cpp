#include "platform/WindowBackdrop.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>

namespace {
xcb_connection_t* connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}
} // namespace

void WindowBackdrop::set(QWidget& window)
{
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const auto id = xcb_window_t(window.winId());
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    if (!geometry)
        return;
    const uint8_t depth = geometry->depth;
    std::free(geometry);
    if (depth != 24 && depth != 32)
        return;
    // Four bytes a pixel in the machine's order, rows padded to 32 bits: the
    // layout of a 24- or 32-bit X image and of QImage's RGB32.
    const QImage picture = window.grab().toImage().convertToFormat(depth == 32 ? QImage::Format_ARGB32_Premultiplied
                                                                               : QImage::Format_RGB32);
    if (picture.isNull())
        return;
    const auto width = uint16_t(picture.width());
    const auto height = uint16_t(picture.height());
    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, depth, pixmap, id, width, height);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    xcb_create_gc(c, gc, pixmap, 0, nullptr);
    // In strips, so that no request passes the core protocol's size limit.
    const int rowsPerStrip = std::max(1, 200000 / int(picture.bytesPerLine()));
    for (int top = 0; top < height; top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, height - top);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, width, uint16_t(rows), 0, int16_t(top), 0, depth,
                      uint32_t(rows * picture.bytesPerLine()), picture.constScanLine(top));
    }
    xcb_free_gc(c, gc);
    const uint32_t value = pixmap;
    xcb_change_window_attributes(c, id, XCB_CW_BACK_PIXMAP, &value);
    // The window keeps the picture; the name is no longer needed.
    xcb_free_pixmap(c, pixmap);
    xcb_flush(c);
}

void WindowBackdrop::unmapFrame(QWidget& window)
{
    xcb_connection_t* c = connection();
    if (!c || !window.testAttribute(Qt::WA_WState_Created))
        return;
    // The frame is the window's ancestor that is a child of the root window.
    const auto id = xcb_window_t(window.winId());
    xcb_window_t top = id;
    for (;;) {
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, top), nullptr);
        if (!tree)
            return;
        const xcb_window_t root = tree->root;
        const xcb_window_t parent = tree->parent;
        std::free(tree);
        if (parent == root || parent == XCB_NONE)
            break;
        top = parent;
    }
    if (top == id)
        return;
    // The window manager unmaps the frame itself once it sees the window go;
    // doing it first only changes the order, not what it ends with.
    xcb_unmap_window(c, top);
    xcb_flush(c);
}
