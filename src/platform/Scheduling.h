#pragma once

#include <QString>

#include <cstddef>
#include <vector>

namespace gf {

// Memory a presentation reads while it runs; locked so that no page fault delays it.
struct MemoryRange
{
    const void* data = nullptr;
    std::size_t bytes = 0;
};

// The scheduling of the user-interface thread while a stimulus presentation runs. On a
// busy computer a thread of ordinary priority wakes several milliseconds late; raised, it
// wakes on time. The threads it waits on while painting (on X11 the one that reads the
// display connection) are raised with it. Whatever the system refuses is left as it was,
// silently.
class PresentationScheduler
{
public:
    virtual ~PresentationScheduler() = default;
    // Raises the calling thread and its companions as far as the system allows and locks
    // `buffers` (at most LockBudget in all). A second raise before drop changes nothing.
    virtual void raise(const std::vector<MemoryRange>& buffers) = 0;
    // Back to the scheduling before raise; unlocks the buffers.
    virtual void drop() = 0;
    virtual bool raised() const = 0;

    // What an ordinary user may lock.
    static constexpr std::size_t LockBudget = 8u << 20;
};

// The operating system's: a real-time class where allowed (directly, or through the
// desktop's real-time broker), otherwise a raised nice level, otherwise nothing.
PresentationScheduler& systemScheduler();

// The class a thread (the calling one for 0) runs in now, e.g. "SCHED_FIFO 10" or
// "SCHED_OTHER nice -10".
QString schedulingClass(int thread = 0);

} // namespace gf
