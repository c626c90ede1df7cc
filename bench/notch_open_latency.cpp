// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Marlowick developers

// Measures how long the panel takes to appear: from the pointer's push up
// against the top edge at the centre (two relative motions of 40 pixels, as
// a hand's, through XTest, against the pointer barrier there) to the panel's
// first frame on screen (the first damage
// to the panel window after it was mapped that leaves the body's opaque
// pixels in it), as another X client sees it, and
// for comparison to the window being mapped; and the intervals between the
// panel's frames (its damage, as another client sees it) while it springs
// open and closed. Run it with bench/notch_open_latency.sh, which starts a
// private Xvfb.
//
//   bench_notch_open MARLOWICK ROUNDS STARTS [TODOS]
//
// Starts the program STARTS times, each with settings of its own (TODOS
// to-dos, one in fifty of them today; none by default); after each start it
// waits until the program has made its first window and has had a second
// and a half to settle, as a user would hardly push sooner, then opens the
// panel ROUNDS times: move the pointer away and wait for the panel to go,
// put it on the top edge at the centre, push, and wait for the panel's first
// frame. QT_SCALE_FACTOR, passed on
// to the program, scales the panel the bench looks for.
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/select.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Free {
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, Free>;

struct Display {
    xcb_connection_t *c = nullptr;
    xcb_window_t root = XCB_NONE;
    int16_t centre = 0;
    uint8_t damageEvent = 0;
    // The panel window of the program running, watched from its creation on
    // so that its first frame is seen.
    xcb_window_t panel = XCB_NONE;
    xcb_damage_damage_t damage = XCB_NONE;
    int scale = 1;
    // When the panel's frames reached the server: damage less than 4 ms
    // after the last is the same frame's (a frame and the new window shape
    // before it).
    std::vector<Clock::time_point> frames;

    void notice(const xcb_generic_event_t *e)
    {
        const uint8_t type = e->response_type & 0x7f;
        if (type == damageEvent && panel != XCB_NONE
            && reinterpret_cast<const xcb_damage_notify_event_t *>(e)->drawable == panel) {
            const auto now = Clock::now();
            if (frames.empty() || now - frames.back() >= std::chrono::milliseconds(4))
                frames.push_back(now);
            return;
        }
        const auto *create = reinterpret_cast<const xcb_create_notify_event_t *>(e);
        if (type != XCB_CREATE_NOTIFY || panel != XCB_NONE || create->width != 380 * scale
            || create->height != 520 * scale)
            return;
        panel = create->window;
        damage = xcb_generate_id(c);
        xcb_damage_create(c, damage, panel, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
        xcb_flush(c);
    }
};

// Waits for the first event that done() accepts; gives up after `time`.
// Events are seen as they arrive, each given to Display::notice.
template<typename Done>
std::optional<Clock::time_point> waitFor(Display &d, Done done,
                                         std::chrono::milliseconds time = std::chrono::seconds(10))
{
    const auto deadline = Clock::now() + time;
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        Reply<xcb_generic_event_t> event(xcb_poll_for_event(d.c));
        if (!event) {
            if (xcb_connection_has_error(d.c))
                return std::nullopt;
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(xcb_get_file_descriptor(d.c), &fds);
            const auto wait = std::min<Clock::duration>(deadline - now, std::chrono::milliseconds(100));
            timeval tv{0, suseconds_t(std::chrono::duration_cast<std::chrono::microseconds>(wait).count())};
            select(xcb_get_file_descriptor(d.c) + 1, &fds, nullptr, nullptr, &tv);
            continue;
        }
        d.notice(event.get());
        if (done(event.get()))
            return now;
    }
    return std::nullopt;
}

void settle(Display &d, std::chrono::milliseconds time)
{
    waitFor(
        d, [](const xcb_generic_event_t *) { return false; }, time);
}

// Whether the panel window holds the body's first pixels: its top centre
// pixel opaque black. (Mapping the window damages it too, with what lay
// below it, which main() makes grey.)
bool showsBody(const Display &d, xcb_window_t panel)
{
    Reply<xcb_get_image_reply_t> image(xcb_get_image_reply(
        d.c, xcb_get_image(d.c, XCB_IMAGE_FORMAT_Z_PIXMAP, panel, int16_t(190 * d.scale), 0, 1, 1, ~0u), nullptr));
    if (!image || xcb_get_image_data_length(image.get()) < 4)
        return false;
    uint32_t pixel;
    std::memcpy(&pixel, xcb_get_image_data(image.get()), 4);
    return (pixel & 0xffffff) == 0 && (image->depth != 32 || pixel >> 24 == 0xff);
}

pid_t startProgram(const char *program, const std::string &home)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const std::string config = home + "/config", runtime = home + "/runtime";
        mkdir(config.c_str(), 0700);
        mkdir(runtime.c_str(), 0700);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

// Writes the settings of one start: count to-dos, one in fifty today.
void writeTodos(const std::string &config, int count)
{
    if (count <= 0)
        return;
    const std::string folder = config + "/marlowick";
    mkdir(folder.c_str(), 0700);
    FILE *file = std::fopen((folder + "/marlowick.conf").c_str(), "w");
    if (!file)
        return;
    // Instants count seconds from 2001-01-01T00:00:00Z.
    time_t now = time(nullptr);
    tm midnight = *localtime(&now);
    midnight.tm_hour = midnight.tm_min = midnight.tm_sec = 0;
    const long long today = mktime(&midnight) - 978307200;
    std::fprintf(file, "[General]\nmarlowick.items=\"@ByteArray([");
    for (int i = 0; i < count; ++i) {
        const long long day = today - 86400LL * (i % 50 == 0 ? 0 : 1 + i % 3650);
        std::fprintf(file,
                     "%s{\\\"id\\\":\\\"%08X-0000-4000-8000-000000000000\\\",\\\"title\\\":\\\"To-do number %d\\\","
                     "\\\"isCompleted\\\":%s,\\\"createdAt\\\":%lld,\\\"date\\\":%lld}",
                     i == 0 ? "" : ",", unsigned(i), i, i % 7 == 0 ? "true" : "false", day + 60, day);
    }
    std::fprintf(file, "])\"\n");
    std::fclose(file);
}

struct Opening {
    double mappedMs = 0;
    double frameMs = 0;
    // The longest time between two frames while it sprang open, and while
    // it sprang closed before it (none the first time).
    double longestOpeningFrame = 0;
    std::optional<double> longestClosingFrame;
};

// The longest interval between frames from..until.
double longestInterval(const std::vector<Clock::time_point> &frames, Clock::time_point from, Clock::time_point until)
{
    double longest = 0;
    std::optional<Clock::time_point> last;
    for (const Clock::time_point frame : frames) {
        if (frame < from || frame > until)
            continue;
        if (last)
            longest = std::max(longest, std::chrono::duration<double, std::milli>(frame - *last).count());
        last = frame;
    }
    return longest;
}

// One opening: pointer away until the panel is gone, then into the strip.
std::optional<Opening> open(Display &d)
{
    const xcb_window_t &panel = d.panel;
    xcb_warp_pointer(d.c, XCB_NONE, d.root, 0, 0, 0, 0, 100, 700);
    xcb_flush(d.c);
    Reply<xcb_get_window_attributes_reply_t> attributes(
        panel == XCB_NONE ? nullptr
                          : xcb_get_window_attributes_reply(d.c, xcb_get_window_attributes(d.c, panel), nullptr));
    const bool shown = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    const auto left = Clock::now();
    std::optional<Clock::time_point> unmapped;
    if (shown && !(unmapped = waitFor(d, [&](xcb_generic_event_t *e) {
                       return (e->response_type & 0x7f) == XCB_UNMAP_NOTIFY
                           && reinterpret_cast<xcb_unmap_notify_event_t *>(e)->window == panel;
                   })))
        return std::nullopt;
    // The panel starts to close half a second after the pointer left it.
    std::optional<double> longestClosingFrame;
    if (unmapped)
        longestClosingFrame = longestInterval(d.frames, left + std::chrono::milliseconds(450), *unmapped);
    settle(d, std::chrono::milliseconds(100));

    xcb_warp_pointer(d.c, XCB_NONE, d.root, 0, 0, 0, 0, d.centre, 0);
    xcb_flush(d.c);
    settle(d, std::chrono::milliseconds(20));
    const auto start = Clock::now();
    for (int push = 0; push < 2; ++push) // relative (detail 1): the barrier holds it
        xcb_test_fake_input(d.c, XCB_MOTION_NOTIFY, 1, XCB_CURRENT_TIME, XCB_NONE, 0, -40, 0);
    xcb_flush(d.c);
    std::optional<Clock::time_point> mapped;
    const auto frame = waitFor(d, [&](xcb_generic_event_t *e) {
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_MAP_NOTIFY && reinterpret_cast<xcb_map_notify_event_t *>(e)->window == panel) {
            mapped = Clock::now();
        } else if (type == d.damageEvent && mapped) {
            return reinterpret_cast<xcb_damage_notify_event_t *>(e)->drawable == panel && showsBody(d, panel);
        }
        return false;
    });
    if (!mapped || !frame)
        return std::nullopt;
    // The spring has all but settled after 0.55 s.
    const auto settled = start + std::chrono::milliseconds(550);
    settle(d, std::chrono::duration_cast<std::chrono::milliseconds>(settled - Clock::now()));
    const auto ms = [&](Clock::time_point t) { return std::chrono::duration<double, std::milli>(t - start).count(); };
    return Opening{ms(*mapped), ms(*frame), longestInterval(d.frames, *frame, settled), longestClosingFrame};
}

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    std::printf("%-34s n=%3zu  min %6.2f  median %6.2f  p90 %6.2f  max %6.2f ms\n", what, ms.size(), ms.front(),
                at(0.5), at(0.9), ms.back());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MARLOWICK [ROUNDS] [STARTS] [TODOS]\n", argv[0]);
        return 2;
    }
    const char *program = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const int starts = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const int todos = argc > 4 ? std::atoi(argv[4]) : 0;

    Display d;
    if (const char *scale = std::getenv("QT_SCALE_FACTOR"))
        d.scale = std::max(1, std::atoi(scale));
    int screenNumber = 0;
    d.c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(d.c)) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(d.c));
    for (int i = 0; i < screenNumber; ++i)
        xcb_screen_next(&it);
    d.root = it.data->root;
    d.centre = int16_t(it.data->width_in_pixels / 2);
    const xcb_query_extension_reply_t *damageExtension = xcb_get_extension_data(d.c, &xcb_damage_id);
    if (!damageExtension || !damageExtension->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 1;
    }
    d.damageEvent = damageExtension->first_event + XCB_DAMAGE_NOTIFY;
    std::free(xcb_damage_query_version_reply(d.c, xcb_damage_query_version(d.c, 1, 1), nullptr));
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(d.c, d.root, XCB_CW_EVENT_MASK, &mask);
    const uint32_t grey = 0x808080;
    xcb_change_window_attributes(d.c, d.root, XCB_CW_BACK_PIXEL, &grey);
    xcb_clear_area(d.c, 0, d.root, 0, 0, 0, 0);

    char homeTemplate[] = "/tmp/marlowick-bench-XXXXXX";
    const std::string home = mkdtemp(homeTemplate);
    std::vector<double> firstFrame, laterFrame, firstMapped, laterMapped;
    std::vector<double> firstOpeningFrames, laterOpeningFrames, closingFrames;
    for (int start = 0; start < starts; ++start) {
        xcb_warp_pointer(d.c, XCB_NONE, d.root, 0, 0, 0, 0, 100, 700);
        xcb_flush(d.c);
        const std::string startHome = home + "/" + std::to_string(start);
        mkdir(startHome.c_str(), 0700);
        mkdir((startHome + "/config").c_str(), 0700);
        writeTodos(startHome + "/config", todos);
        const pid_t pid = startProgram(program, startHome);
        // Over a top panel the program maps no window until the panel opens.
        const bool ready =
            bool(waitFor(d, [&](xcb_generic_event_t *e) { return (e->response_type & 0x7f) == XCB_CREATE_NOTIFY; }));
        if (!ready) {
            std::fprintf(stderr, "the program made no window\n");
            kill(pid, SIGKILL);
            return 1;
        }
        settle(d, std::chrono::milliseconds(1500));
        for (int round = 0; round < rounds; ++round) {
            const auto opening = open(d);
            if (!opening) {
                std::fprintf(stderr, "the panel did not open or close\n");
                kill(pid, SIGKILL);
                return 1;
            }
            (round == 0 ? firstFrame : laterFrame).push_back(opening->frameMs);
            (round == 0 ? firstMapped : laterMapped).push_back(opening->mappedMs);
            (round == 0 ? firstOpeningFrames : laterOpeningFrames).push_back(opening->longestOpeningFrame);
            if (opening->longestClosingFrame)
                closingFrames.push_back(*opening->longestClosingFrame);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        d.panel = d.damage = XCB_NONE;
        d.frames.clear();
    }
    std::printf("push at the top edge to the panel, %d starts x %d openings, %d to-dos:\n", starts, rounds, todos);
    report("first frame, first after start", firstFrame);
    report("first frame, later openings", laterFrame);
    std::vector<double> all = firstFrame;
    all.insert(all.end(), laterFrame.begin(), laterFrame.end());
    report("first frame, all openings", all);
    report("window mapped, first after start", firstMapped);
    report("window mapped, later openings", laterMapped);
    std::printf("the longest interval between frames of each opening or closing:\n");
    report("opening, first after start", firstOpeningFrames);
    report("opening, later openings", laterOpeningFrames);
    if (!closingFrames.empty())
        report("closing", closingFrames);
    std::string command = "rm -rf '" + home + "'";
    return std::system(command.c_str()) == 0 ? 0 : 1;
}
