#include "ScreenWatcher.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
QImage grabOn(xcb_connection_t* c, xcb_window_t root, const QRect& area)
{
    xcb_get_image_cookie_t cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(area.x()),
                                                  int16_t(area.y()), uint16_t(area.width()), uint16_t(area.height()), ~0u);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply)
        return {};
    QImage image(area.size(), QImage::Format_RGB32);
    const int length = xcb_get_image_data_length(reply);
    // A 24-bit screen sends four bytes a pixel, as QImage's RGB32 keeps them.
    if (length == int(image.sizeInBytes()))
        std::memcpy(image.bits(), xcb_get_image_data(reply), size_t(length));
    else
        image = QImage();
    std::free(reply);
    return image;
}

xcb_window_t rootOf(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }
} // namespace

ScreenWatcher::ScreenWatcher(const QRect& area) : m_area(area)
{
    m_thread = std::thread([this] { run(); });
    while (!m_started.load())
        std::this_thread::yield();
}

ScreenWatcher::~ScreenWatcher()
{
    if (m_thread.joinable())
        stop();
}

std::vector<QImage> ScreenWatcher::stop()
{
    m_stop = true;
    m_thread.join();
    return std::move(m_shots);
}

void ScreenWatcher::run()
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_window_t root = rootOf(c);
    // The first picture shows the screen before the work starts.
    do {
        QImage shot = grabOn(c, root, m_area);
        if (!shot.isNull()) {
            m_shots.push_back(std::move(shot));
            ++m_count;
        }
        m_started = true;
    } while (!m_stop.load());
    xcb_disconnect(c);
}
