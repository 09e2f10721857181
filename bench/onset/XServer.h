#pragma once

// The second observer: the windows run on an X server started here (Xvfb), and a separate
// process watches the screen through the Damage extension, stamping each change of the
// picture when it arrives. It also injects keys and clicks (XTest) for the answer kinds.

#include <QRect>

#include <chrono>
#include <string>
#include <vector>

class QWidget;

namespace gf::bench {

using SteadyClock = std::chrono::steady_clock;

// True once started (GF_ONSET_XSERVER=1): Xvfb, DISPLAY and the xcb platform set.
bool xServerActive();
// Starts Xvfb and the observer; call before the application object exists.
bool startXServer();
void stopXServer();

// Where a widget is on the X screen.
QRect screenRect(const QWidget* widget);

// An onset seen in the program: the X server's picture must change in `area` after the
// paint began. Noted per kind, judged by xServerErrors.
void noteOnset(const char* kind, const QRect& area, SteadyClock::time_point began,
               SteadyClock::time_point nominal);
// Milliseconds from nominal to the first change of each onset noted under `kind`; clears
// those notes.
std::vector<double> xServerErrors(const char* kind, int* missed);

// Injects a key ("KP_5", "Down") or a click (screen coordinates) and notes that the
// answer is a change in `area`: its first change, or with `whole` the last of the burst of
// changes that follows (a window being painted), gaps under BurstGap.
void injectKey(const char* keysym, const QRect& area);
void injectClick(const QPoint& at, const QRect& area, bool whole = false);
// Moves the pointer ahead of a click, so that the software cursor's own change of the
// picture is over before the click.
void movePointer(const QPoint& to);
constexpr std::chrono::milliseconds BurstGap{50};
// Milliseconds from each injection to its answer; clears the notes.
std::vector<double> xServerLatencies(int* missed);

} // namespace gf::bench
