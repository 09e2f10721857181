#pragma once

#include "platform/Scheduling.h"

#include <functional>

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

private:
    void apply();

    PresentationScheduler& m_scheduler;
    bool m_presenting = false;
    int m_pauseDepth = 0;
    bool m_raised = false;
};

// The pixels every paint of `window` writes to.
std::vector<MemoryRange> paintBuffers(QWidget* window);
// The pixels of a picture the presentation copies to the screen; nothing when the
// picture keeps them where the program cannot reach them.
MemoryRange pixelsOf(const QPixmap& picture);

} // namespace gf
