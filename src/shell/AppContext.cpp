#include "shell/AppContext.h"

namespace gf {

namespace {
AppContext g_fallback;
AppContext* g_current = &g_fallback;
} // namespace

AppContext& AppContext::current()
{
    return *g_current;
}

void AppContext::setCurrent(AppContext* context)
{
    g_current = context ? context : &g_fallback;
}

} // namespace gf
