#pragma once

#include <functional>

class QObject;

namespace gf {

// SIGTERM and SIGHUP (a shutdown, the end of a desktop session, a closed terminal) call
// handler from the event loop, so that the program ends through its normal path with
// its records stored, instead of dying where it stands. The handler lives as long as
// context.
void onTermination(QObject* context, std::function<void()> handler);

} // namespace gf
