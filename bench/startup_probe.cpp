// SPDX-License-Identifier: MIT
// Starts one program on the X display and reports, in microseconds from the
// moment it was started, when its window was mapped and when its first frame
// was painted into that window, then its peak resident memory once the
// window has settled; the program is ended afterwards.
//
//   startup-probe SETTLE_MS PROGRAM [ARG...]
//
// Prints one line "MAP_US FRAME_US PEAK_KIB CPU_US": CPU_US is the processor
// time all its threads had used when the frame arrived, which a busy machine
// changes far less than the times on the clock. The map is the first MapNotify
// of a window created after the start; the frame is the first DAMAGE report
// on that window (Qt leaves the background of its windows unpainted, so the
// first damage is its own first frame). Events arrive as they happen: no
// polling interval is added.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long microsSince(Clock::time_point t0) {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
}

long peakKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            break;
        }
        status.ignore(1 << 16, '\n');
    }
    return value;
}

// Processor time of every thread of the process so far, in microseconds
// (the scheduler's own account, in nanoseconds).
long long cpuMicros(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long long ns = 0;
    if (DIR* d = opendir(tasks.c_str())) {
        while (dirent* t = readdir(d)) {
            if (t->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + t->d_name + "/schedstat");
            long long run = 0;
            if (stat >> run)
                ns += run;
        }
        closedir(d);
    }
    return ns / 1000;
}

[[noreturn]] void fail(const char* what, pid_t child) {
    std::fprintf(stderr, "startup-probe: %s\n", what);
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::exit(1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup-probe SETTLE_MS PROGRAM [ARG...]\n");
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        fail("cannot open the display", 0);
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_damage_id);
    if (!ext || !ext->present)
        fail("the X server has no DAMAGE extension", 0);
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)); // applied before the start

    const Clock::time_point t0 = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    if (child < 0)
        fail("cannot start the program", 0);

    std::set<xcb_window_t> created;
    xcb_window_t mapped = XCB_NONE;
    long long mapUs = -1, frameUs = -1, cpuUs = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (frameUs < 0) {
        xcb_generic_event_t* e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c))
                fail("lost the display", child);
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0)
                fail(mapUs < 0 ? "no window within 10 s" : "no frame within 10 s", child);
            continue;
        }
        const uint8_t type = e->response_type & 0x7F;
        if (type == XCB_CREATE_NOTIFY) {
            auto* ev = reinterpret_cast<xcb_create_notify_event_t*>(e);
            if (!ev->override_redirect) {
                // Its own map events even once a window manager reparents it,
                // and a report of the first drawing into it.
                const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
                xcb_change_window_attributes(c, ev->window, XCB_CW_EVENT_MASK, &mask);
                xcb_damage_create(c, xcb_generate_id(c), ev->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(c);
                created.insert(ev->window);
            }
        } else if (type == XCB_MAP_NOTIFY) {
            auto* ev = reinterpret_cast<xcb_map_notify_event_t*>(e);
            if (mapped == XCB_NONE && created.count(ev->window)) {
                mapUs = microsSince(t0);
                mapped = ev->window;
            }
        } else if (type == ext->first_event + XCB_DAMAGE_NOTIFY) {
            auto* ev = reinterpret_cast<xcb_damage_notify_event_t*>(e);
            if (mapped != XCB_NONE && ev->drawable == mapped) {
                frameUs = microsSince(t0);
                cpuUs = cpuMicros(child);
            }
        }
        free(e);
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long kib = peakKib(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    if (kib < 0)
        fail("the program ended before its memory was read", 0);
    std::printf("%lld %lld %ld %lld\n", mapUs, frameUs, kib, cpuUs);
    return 0;
}
