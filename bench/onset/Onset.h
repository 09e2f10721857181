#pragma once

// Stimulus onsets where the trainee sees them: the end of the paint that put the new
// picture, digit or word on the stage, against the moment the schedule meant it to
// appear. Each exercise registers its kinds with GF_ONSET in a file of its own.

#include "Measures.h"

#include <QObject>
#include <QString>
#include <QWidget>

#include <chrono>
#include <functional>
#include <vector>

namespace gf::bench {

using SteadyClock = std::chrono::steady_clock;

// Timestamps the beginning and the end of every paint of a widget.
class PaintStamp final : public QObject
{
public:
    explicit PaintStamp(QWidget* stage) : m_stage(stage) { stage->installEventFilter(this); }
    ~PaintStamp() override { m_stage->removeEventFilter(this); }

    // The end of the last paint; the callback runs right after each paint.
    SteadyClock::time_point last() const { return m_last; }
    // The beginning of the last paint: a late beginning is a late wake-up, a late end
    // with a timely beginning a slow paint.
    SteadyClock::time_point began() const { return m_began; }
    std::function<void(SteadyClock::time_point)> onPainted;
    QWidget* stage() const { return m_stage; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_stage;
    SteadyClock::time_point m_last{};
    SteadyClock::time_point m_began{};
};

// GF_ONSET_VERBOSE=1 lists every onset.
inline bool verbose()
{
    static const bool on = !qEnvironmentVariableIsEmpty("GF_ONSET_VERBOSE");
    return on;
}

// Milliseconds from `nominal` to `painted`, the end of a paint of `stamp`'s stage; the
// verbose list adds when the paint began. Under the X server the onset is noted there too,
// under `kind`.
double onsetError(const char* kind, const PaintStamp& stamp, SteadyClock::time_point painted,
                  SteadyClock::time_point nominal);

// Onset errors in milliseconds (painted minus nominal) of one stimulus kind.
using OnsetMeasure = std::function<std::vector<double>()>;

struct OnsetKind
{
    const char* kind;
    OnsetMeasure measure;
    bool latency = false; // an answer to injected input, measured under the X server only
};

std::vector<OnsetKind>& onsetKinds();
// Notes the calling thread's scheduling class for `kind` (by default the kind being
// measured); done at every onset, and by the answer kinds at every input.
void noteClass(const char* kind = nullptr);
inline bool registerOnset(const char* kind, OnsetMeasure measure, bool latency = false)
{
    onsetKinds().push_back({kind, std::move(measure), latency});
    return true;
}

} // namespace gf::bench

#define GF_ONSET_CAT2(a, b) a##b
#define GF_ONSET_CAT(a, b) GF_ONSET_CAT2(a, b)
#define GF_ONSET(kind, measure)                                                                  \
    static const bool GF_ONSET_CAT(gfOnset_, __LINE__) = ::gf::bench::registerOnset(kind, measure)
#define GF_LATENCY(kind, measure)                                                                \
    static const bool GF_ONSET_CAT(gfLatency_, __LINE__) =                                       \
        ::gf::bench::registerOnset(kind, measure, true)
