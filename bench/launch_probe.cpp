// Starts a program and reports how long it takes until its top-level window, found by title,
// is mapped and painted, and the program's memory: peak resident, and resident and private at
// that first paint. Seen from outside through the
// X server, so the program under test runs unchanged.
// Usage: launch_probe TITLE PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

bool hasTitle(Display* display, Window window, const char* title) {
    char* name = nullptr;
    const bool matches =
        XFetchName(display, window, &name) != 0 && name != nullptr && std::strcmp(name, title) == 0;
    XFree(name);
    return matches;
}

// Painted once the window shows more than one colour: a window not yet drawn is uniform.
bool isPainted(Display* display, Window window) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        return false;
    }
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return false;
    }
    std::set<unsigned long> colours;
    for (int y = 0; y < image->height && colours.size() < 2; y += 3) {
        for (int x = 0; x < image->width && colours.size() < 2; x += 3) {
            colours.insert(XGetPixel(image, x, y));
        }
    }
    XDestroyImage(image);
    return colours.size() >= 2;
}

// Every window with the title, also ones nested under a window manager's frame.
void findWindows(Display* display, Window parent, const char* title, std::set<Window>& found) {
    Window root = 0;
    Window parentOut = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &parentOut, &children, &count) == 0) {
        return;
    }
    for (unsigned i = 0; i < count; ++i) {
        if (hasTitle(display, children[i], title)) {
            found.insert(children[i]);
        }
        findWindows(display, children[i], title, found);
    }
    XFree(children);
}

std::set<Window> windowsTitled(Display* display, const char* title) {
    std::set<Window> found;
    findWindows(display, DefaultRootWindow(display), title, found);
    return found;
}

// Resident and private (anonymous) memory of a running process, in KiB.
std::pair<long, long> memoryOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    long resident = 0;
    long anonymous = 0;
    for (std::string key; rollup >> key;) {
        long value = 0;
        if (key == "Rss:" && rollup >> value) {
            resident = value;
        } else if (key == "Anonymous:" && rollup >> value) {
            anonymous = value;
        }
    }
    return {resident, anonymous};
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "launch_probe: no X display\n");
        return 2;
    }
    const char* title = argv[1];
    const std::set<Window> earlier = windowsTitled(display, title);  // not the program's
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror("launch_probe: exec");
        _exit(127);
    }

    double startupMs = -1;
    std::pair<long, long> memoryAtPaint;
    const Clock::time_point deadline = start + std::chrono::seconds(30);
    while (Clock::now() < deadline) {
        for (Window window : windowsTitled(display, title)) {
            if (!earlier.contains(window) && isPainted(display, window)) {
                startupMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                memoryAtPaint = memoryOf(child);
            }
        }
        if (startupMs >= 0) {
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "launch_probe: %s exited before showing its window\n", argv[2]);
            return 1;
        }
        poll(nullptr, 0, 1);
    }

    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    if (startupMs < 0) {
        std::fprintf(stderr, "launch_probe: no painted window titled '%s' within 30 s\n", title);
        return 1;
    }
    // Start-up ms, peak resident KiB, and at first paint the resident and private KiB.
    std::printf("%.1f %ld %ld %ld\n", startupMs, usage.ru_maxrss, memoryAtPaint.first,
                memoryAtPaint.second);
    return 0;
}
