// Watches an X server's screen through the Damage extension and prints, the moment it
// receives them, the changes of the picture:
//   damage <CLOCK_MONOTONIC ns> <x> <y> <width> <height>
// and injects input through XTest when told on its standard input, stamping just before:
//   key <keysym name>      ->  inject <ns>
//   click <x> <y>          ->  inject <ns>
//   move <x> <y>           (the pointer only, unstamped)
// "ready" once it watches.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <poll.h>
#include <unistd.h>

namespace {

long long now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

void command(Display* dpy, const std::string& line)
{
    char name[64] = {};
    int x = 0, y = 0;
    if (std::sscanf(line.c_str(), "key %63s", name) == 1) {
        const KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(name));
        std::printf("inject %lld\n", now());
        XTestFakeKeyEvent(dpy, code, True, CurrentTime);
        XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    } else if (std::sscanf(line.c_str(), "move %d %d", &x, &y) == 2) {
        XTestFakeMotionEvent(dpy, -1, x, y, CurrentTime);
    } else if (std::sscanf(line.c_str(), "click %d %d", &x, &y) == 2) {
        XTestFakeMotionEvent(dpy, -1, x, y, CurrentTime);
        XFlush(dpy);
        std::printf("inject %lld\n", now());
        XTestFakeButtonEvent(dpy, 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy, 1, False, CurrentTime);
    }
    XFlush(dpy);
    std::fflush(stdout);
}

} // namespace

int main()
{
    Display* dpy = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0, xtest = 0, major = 0, minor = 0;
    if (!dpy || !XDamageQueryExtension(dpy, &damageEvent, &damageError) ||
        !XTestQueryExtension(dpy, &xtest, &xtest, &major, &minor)) {
        std::fprintf(stderr, "gf_xobserver: no X server with Damage and XTest\n");
        return 1;
    }
    const Window root = DefaultRootWindow(dpy);
    XDamageCreate(dpy, root, XDamageReportRawRectangles);
    XSync(dpy, False);
    std::printf("ready\n");
    std::fflush(stdout);

    std::string input;
    pollfd fds[2] = {{ConnectionNumber(dpy), POLLIN, 0}, {0, POLLIN, 0}};
    for (;;) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == damageEvent + XDamageNotify) {
                const auto* d = reinterpret_cast<XDamageNotifyEvent*>(&ev);
                std::printf("damage %lld %d %d %d %d\n", now(), d->area.x, d->area.y,
                            d->area.width, d->area.height);
            }
        }
        std::fflush(stdout);
        if (poll(fds, 2, -1) < 0)
            break;
        if (fds[1].revents & (POLLIN | POLLHUP)) {
            char buf[256];
            const ssize_t n = read(0, buf, sizeof buf);
            if (n <= 0)
                break;
            input.append(buf, std::size_t(n));
            for (std::size_t nl; (nl = input.find('\n')) != std::string::npos;) {
                command(dpy, input.substr(0, nl));
                input.erase(0, nl + 1);
            }
        }
    }
    XCloseDisplay(dpy);
    return 0;
}
