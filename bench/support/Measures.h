#pragma once

// What the benchmarks share beyond their servers: the spread of a set of errors, and an
// exercise window's context with a fresh detective.

#include "core/data/ProgramData.h"
#include "core/data/Records.h"
#include "toolkit/AppContext.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace gf::bench {

struct Spread
{
    double mean = 0;
    double sd = 0;  // of the sample
    double max = 0; // the largest magnitude
};

inline Spread spread(const std::vector<double>& e)
{
    Spread s;
    for (double v : e)
        s.mean += v;
    s.mean = e.empty() ? 0 : s.mean / double(e.size());
    for (double v : e) {
        s.sd += (v - s.mean) * (v - s.mean);
        s.max = std::max(s.max, std::abs(v));
    }
    s.sd = e.size() < 2 ? 0 : std::sqrt(s.sd / double(e.size() - 1));
    return s;
}

#ifdef GF_INSTALL_DIR_DEFAULT
// The built installation folder (tables, pictures, sounds) with a trailing slash;
// GF_INSTALL_DIR overrides it.
inline QString installDir()
{
    const QString env = qEnvironmentVariable("GF_INSTALL_DIR");
    return (env.isEmpty() ? QStringLiteral(GF_INSTALL_DIR_DEFAULT) : env) + QStringLiteral("/");
}

// A context for one exercise window, with the installation's pictures and sounds and a
// fresh detective whose levels the benchmark sets. Stays where it was made: the context
// points at the data.
struct ExerciseSetup
{
    ExerciseSetup()
    {
        ctx.paths.ProgramDir = installDir();
        ctx.paths.BmpDir = installDir() + QStringLiteral("BMP/");
        ctx.paths.WavDir = installDir() + QStringLiteral("WAV/");
        data.CurrentUser = std::make_shared<tUser>();
        ctx.data = &data;
    }
    ExerciseSetup(const ExerciseSetup&) = delete;
    ExerciseSetup& operator=(const ExerciseSetup&) = delete;

    tUser& user() { return *data.CurrentUser; }

    tProgramData data;
    AppContext ctx;
};
#endif

} // namespace gf::bench
