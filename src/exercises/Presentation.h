#pragma once

#include "core/sequence/StepClock.h"
#include "platform/Scheduling.h"

#include <functional>
#include <memory>

class QPixmap;
class QWidget;

namespace gf {

// Holds the raised scheduling for as long as an exercise window presents stimuli and is
// not paused (help, an abort question): the window reports both, this decides.
class PresentationHold
{
public:
    explicit PresentationHold(PresentationScheduler& scheduler = systemScheduler())
        : m_scheduler(scheduler)
    {
    }
    ~PresentationHold() { setPresenting(false); }
    PresentationHold(const PresentationHold&) = delete;
    PresentationHold& operator=(const PresentationHold&) = delete;

    void setPresenting(bool presenting);
    void pause(); // nests
    void resume();
    bool raised() const { return m_raised; }

    // What the presentation reads, asked for at each raise.
    std::function<std::vector<MemoryRange>()> buffers;

    // The clock for the exercise: `inner`'s, with timers that settle `window`'s paint
    // buffer ahead of each step while raised. It lives as long as this hold.
    StepClock& stageClock(StepClock& inner, QWidget* window);

private:
    void apply();

    std::unique_ptr<PreparingStepClock> m_clock;

    PresentationScheduler& m_scheduler;
    bool m_presenting = false;
    int m_pauseDepth = 0;
    bool m_raised = false;
};

// Waits, if need be, until the display server has read `window`'s paint buffer, which the
// next paint into it would otherwise wait for.
void settlePaintBuffer(QWidget* window);
// The pixels every paint of `window` writes to.
std::vector<MemoryRange> paintBuffers(QWidget* window);
// The pixels of a picture the presentation copies to the screen; nothing when the
// picture keeps them where the program cannot reach them.
MemoryRange pixelsOf(const QPixmap& picture);

} // namespace gf
