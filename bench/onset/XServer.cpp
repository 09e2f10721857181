#include "XServer.h"

#include "Servers.h"

#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace gf::bench {

namespace {

struct Damage
{
    SteadyClock::time_point at;
    QRect area;
};
struct Noted
{
    std::string kind;
    QRect area;
    SteadyClock::time_point from;
    SteadyClock::time_point nominal;
    bool whole = false;
};

bool g_active = false;
Child g_xvfb, g_observer;
std::thread g_reader;
std::mutex g_mutex;
std::vector<Damage> g_damage;
std::vector<SteadyClock::time_point> g_injected;
std::vector<Noted> g_onsets, g_injections;

void readObserver()
{
    for (std::string line; !(line = readLine(g_observer.out, 24 * 3600 * 1000)).empty();) {
        char kind[16] = {};
        long long ns = 0;
        int x = 0, y = 0, w = 0, h = 0;
        const int n = std::sscanf(line.c_str(), "%15s %lld %d %d %d %d", kind, &ns, &x, &y, &w, &h);
        const std::lock_guard lock(g_mutex);
        const SteadyClock::time_point at{std::chrono::nanoseconds(ns)};
        if (n == 6 && std::string(kind) == "damage")
            g_damage.push_back({at, QRect(x, y, w, h)});
        else if (n >= 2 && std::string(kind) == "inject")
            g_injected.push_back(at);
    }
}

// The first change of `area` at or after `from`, within a second.
bool firstChange(const QRect& area, SteadyClock::time_point from, SteadyClock::time_point& at)
{
    for (const Damage& d : g_damage)
        if (d.at >= from && d.at < from + std::chrono::seconds(1) && d.area.intersects(area)) {
            at = d.at;
            return true;
        }
    return false;
}

// The last change of the burst that begins with the first change of `area` after `from`.
bool burstEnd(const QRect& area, SteadyClock::time_point from, SteadyClock::time_point& at)
{
    if (!firstChange(area, from, at))
        return false;
    for (const Damage& d : g_damage)
        if (d.at > at && d.at <= at + BurstGap && d.area.intersects(area))
            at = d.at;
    return true;
}

void send(const std::string& command)
{
    const std::string line = command + "\n";
    if (::write(g_observer.in, line.data(), line.size()) < 0)
        return;
}

} // namespace

bool xServerActive()
{
    return g_active;
}

bool startXServer()
{
    const std::string display = ":" + std::to_string(70 + ::getpid() % 200);
    // Without its time-slicing scheduler: that holds a client's request back for up to a
    // 20 ms slice while it serves another, which measured the server, not the program.
    g_xvfb = spawn({"Xvfb", display, "-dumbSched", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (g_xvfb.pid < 0 || !waitFor("/tmp/.X11-unix/X" + display.substr(1), 10000))
        return false;
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    g_observer = spawn({GF_XOBSERVER}, {}, true, true);
    if (g_observer.pid < 0 || readLine(g_observer.out, 10000) != "ready") {
        stopXServer();
        return false;
    }
    // At the program's own raised priority, so that the figures are the program's.
    raiseLikeProgram(g_xvfb.pid);
    raiseLikeProgram(g_observer.pid);
    g_reader = std::thread(readObserver);
    g_active = true;
    return true;
}

void stopXServer()
{
    stop(g_observer);
    if (g_reader.joinable())
        g_reader.join();
    stop(g_xvfb);
    g_active = false;
}

QRect screenRect(const QWidget* widget)
{
    return QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
}

void noteOnset(const char* kind, const QRect& area, SteadyClock::time_point began,
               SteadyClock::time_point nominal)
{
    if (!g_active)
        return;
    const std::lock_guard lock(g_mutex);
    g_onsets.push_back({kind, area, began, nominal});
}

std::vector<double> xServerErrors(const char* kind, int* missed)
{
    const std::lock_guard lock(g_mutex);
    std::vector<double> errors;
    *missed = 0;
    for (const Noted& n : g_onsets) {
        if (n.kind != kind)
            continue;
        SteadyClock::time_point at;
        if (firstChange(n.area, n.from, at)) {
            errors.push_back(std::chrono::duration<double, std::milli>(at - n.nominal).count());
            if (std::getenv("GF_ONSET_VERBOSE"))
                std::fprintf(stderr, "  x %8.3f ms (paint began %8.3f) area %d,%d %dx%d\n", errors.back(),
                             std::chrono::duration<double, std::milli>(n.from - n.nominal).count(),
                             n.area.x(), n.area.y(), n.area.width(), n.area.height());
        }
        else
            ++*missed;
    }
    std::erase_if(g_onsets, [&](const Noted& n) { return n.kind == kind; });
    // One run may show several kinds (pictures and fax frames): their changes stay.
    if (g_onsets.empty())
        g_damage.clear();
    return errors;
}

void injectKey(const char* keysym, const QRect& area)
{
    {
        const std::lock_guard lock(g_mutex);
        g_injections.push_back({{}, area, {}, {}});
    }
    send(std::string("key ") + keysym);
}

void movePointer(const QPoint& to)
{
    send("move " + std::to_string(to.x()) + " " + std::to_string(to.y()));
}

void injectClick(const QPoint& at, const QRect& area, bool whole)
{
    {
        const std::lock_guard lock(g_mutex);
        g_injections.push_back({{}, area, {}, {}, whole});
    }
    send("click " + std::to_string(at.x()) + " " + std::to_string(at.y()));
}

std::vector<double> xServerLatencies(int* missed)
{
    const std::lock_guard lock(g_mutex);
    std::vector<double> latencies;
    *missed = 0;
    for (std::size_t i = 0; i < g_injections.size(); ++i) {
        SteadyClock::time_point at;
        const Noted& n = g_injections[i];
        if (i < g_injected.size() && (n.whole ? burstEnd(n.area, g_injected[i], at)
                                              : firstChange(n.area, g_injected[i], at)))
            latencies.push_back(std::chrono::duration<double, std::milli>(at - g_injected[i]).count());
        else
            ++*missed;
    }
    g_injections.clear();
    g_injected.clear();
    g_damage.clear();
    return latencies;
}

} // namespace gf::bench
