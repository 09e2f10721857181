#pragma once

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

class QTimer;

namespace gf {

using SteadyTime = std::chrono::steady_clock::time_point;

// One-shot wake-up of an exercise's schedule. Deadlines are absolute, so a step that
// runs late does not push every later step back.
class StepTimer
{
public:
    virtual ~StepTimer() = default;
    virtual void startAt(SteadyTime due) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual SteadyTime due() const = 0;

    std::function<void()> onTimeout;
    // Called once a timer has woken for the last stretch before its deadline, before
    // waiting it out: work done here is not on the step's critical path.
    std::function<void()> onApproach;
};

// Monotonic time and timers for the exercises. The program uses preciseStepClock();
// tests hand the rules a clock they advance themselves.
class StepClock
{
public:
    virtual ~StepClock() = default;
    virtual SteadyTime now() const = 0;
    virtual std::unique_ptr<StepTimer> createTimer() = 0;
};

// Qt precise timers; the last milliseconds before a deadline are waited out actively,
// because Qt timers only take whole milliseconds and a thread may wake late.
StepClock& preciseStepClock();

// Another clock's time and timers, each of which runs `prepare` as it approaches its
// deadline.
class PreparingStepClock final : public StepClock
{
public:
    PreparingStepClock(StepClock& inner, std::function<void()> prepare)
        : m_inner(inner), m_prepare(std::move(prepare))
    {
    }
    SteadyTime now() const override { return m_inner.now(); }
    std::unique_ptr<StepTimer> createTimer() override
    {
        auto timer = m_inner.createTimer();
        timer->onApproach = m_prepare;
        return timer;
    }

private:
    StepClock& m_inner;
    std::function<void()> m_prepare;
};

// A group of an exercise's timers that pauses and resumes together, keeping the time
// each timer had left (help, abort questions).
class StepTimerGroup
{
public:
    explicit StepTimerGroup(StepClock& clock) : m_clock(clock) {}

    StepTimer& add(std::function<void()> onTimeout);
    // Arms `timer` to fire after `delay` (or at `due`). While paused, the
    // timer is only noted and starts on resume.
    void start(StepTimer& timer, std::chrono::nanoseconds delay);
    void startAt(StepTimer& timer, SteadyTime due);
    void stop(StepTimer& timer);
    void stopAll(); // also ends a pause

    void pause();
    void resume();
    bool paused() const { return m_pauseDepth > 0; }

    StepClock& clock() { return m_clock; }

private:
    struct Entry
    {
        std::unique_ptr<StepTimer> timer;
        bool held = false;                // armed but paused
        std::chrono::nanoseconds left{0}; // time left when paused
    };
    Entry* find(const StepTimer& timer);

    StepClock& m_clock;
    std::vector<Entry> m_entries;
    int m_pauseDepth = 0;
};

} // namespace gf
