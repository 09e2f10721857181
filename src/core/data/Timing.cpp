#include "core/data/Timing.h"

#include <algorithm>
#include <cmath>

namespace gf {

namespace {
double g_scale = 1.0;
}

namespace timing {

void setScale(double factor)
{
    g_scale = factor > 0.0 ? factor : 1.0;
}

double scale()
{
    return g_scale;
}

std::chrono::milliseconds scaled(std::chrono::milliseconds nominal)
{
    if (g_scale == 1.0)
        return nominal;
    const auto ms = static_cast<long long>(std::llround(double(nominal.count()) * g_scale));
    return std::chrono::milliseconds(std::max<long long>(ms, nominal.count() > 0 ? 1 : 0));
}

int scaledMs(std::chrono::milliseconds nominal)
{
    return static_cast<int>(scaled(nominal).count());
}

} // namespace timing

Clock& systemClock()
{
    static Clock clock;
    return clock;
}

} // namespace gf
