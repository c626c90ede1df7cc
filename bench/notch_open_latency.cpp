// Measures how long the panel takes to appear: from the pointer entering the
// top-centre strip to the panel window being mapped, as another X client
// sees it. Run it with bench/notch_open_latency.sh, which starts a private
// Xvfb and the notch driver.
//
// Each round moves the pointer away and waits for the panel to go, then
// warps it into the strip and waits for the MapNotify of the 380 x 520 window.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Free
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

bool isPanel(xcb_connection_t *c, xcb_window_t window)
{
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return g && g->width == 380 && g->height == 520;
}

// Waits for the map (or unmap) of the panel; gives up after 10 s.
std::optional<Clock::time_point> waitFor(xcb_connection_t *c, uint8_t type, xcb_window_t &panel)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        Reply<xcb_generic_event_t> event(xcb_poll_for_event(c));
        if (!event) {
            if (xcb_connection_has_error(c))
                return std::nullopt;
            // Nothing queued: block on the connection's socket briefly.
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(xcb_get_file_descriptor(c), &fds);
            timeval tv{0, 100000};
            select(xcb_get_file_descriptor(c) + 1, &fds, nullptr, nullptr, &tv);
            continue;
        }
        const auto now = Clock::now();
        if ((event->response_type & 0x7f) != type)
            continue;
        const xcb_window_t window = type == XCB_MAP_NOTIFY
            ? reinterpret_cast<xcb_map_notify_event_t *>(event.get())->window
            : reinterpret_cast<xcb_unmap_notify_event_t *>(event.get())->window;
        if (panel == XCB_NONE && type == XCB_MAP_NOTIFY && isPanel(c, window))
            panel = window;
        if (window == panel)
            return now;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    int screenNumber = 0;
    xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;
    const int16_t centre = int16_t(it.data->width_in_pixels / 2);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);

    xcb_window_t panel = XCB_NONE;
    std::vector<double> ms;
    for (int round = 0; round < rounds; ++round) {
        xcb_warp_pointer(c, XCB_NONE, root, 0, 0, 0, 0, 100, 700);
        xcb_flush(c);
        if (panel != XCB_NONE && !waitFor(c, XCB_UNMAP_NOTIFY, panel)) {
            std::fprintf(stderr, "the panel did not close\n");
            return 1;
        }
        const auto start = Clock::now();
        xcb_warp_pointer(c, XCB_NONE, root, 0, 0, 0, 0, centre, 10);
        xcb_flush(c);
        const auto mapped = waitFor(c, XCB_MAP_NOTIFY, panel);
        if (!mapped) {
            std::fprintf(stderr, "the panel did not open\n");
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(*mapped - start).count());
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    std::printf("pointer entry to panel mapped over %d rounds: min %.2f ms, median %.2f ms, p90 %.2f ms, max %.2f ms\n",
                rounds, ms.front(), at(0.5), at(0.9), ms.back());
    xcb_disconnect(c);
    return 0;
}
