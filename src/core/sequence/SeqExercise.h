#pragma once

namespace gf {

// What the window of a sequence exercise drives, whichever exercise it is.
class SeqExercise
{
public:
    virtual ~SeqExercise() = default;

    virtual void Pause() = 0; // nests; the timers keep the time they had left
    virtual void resume() = 0;
    // Nothing is left to break off: the window closes without asking.
    virtual bool finished() const = 0;
    virtual int tasksDone() const = 0;
    virtual int tasksTotal() const = 0;
};

} // namespace gf
