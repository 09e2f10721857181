#pragma once

#include "core/sequence/StepClock.h"

#include <algorithm>
#include <vector>

namespace gf::test {

// Time that moves only when a test advances it; due timers fire in deadline order.
class ManualStepClock final : public StepClock
{
public:
    class Timer final : public StepTimer
    {
    public:
        explicit Timer(ManualStepClock& clock) : m_clock(clock) { clock.m_timers.push_back(this); }
        ~Timer() override { std::erase(m_clock.m_timers, this); }
        void startAt(SteadyTime due) override
        {
            m_due = due;
            m_active = true;
        }
        void stop() override { m_active = false; }
        bool isActive() const override { return m_active; }
        SteadyTime due() const override { return m_due; }

    private:
        friend class ManualStepClock;
        ManualStepClock& m_clock;
        SteadyTime m_due{};
        bool m_active = false;
    };

    SteadyTime now() const override { return m_now; }
    std::unique_ptr<StepTimer> createTimer() override { return std::make_unique<Timer>(*this); }

    // Moves time forward by `span`, firing every timer that falls due on the way.
    void advance(std::chrono::nanoseconds span)
    {
        const SteadyTime end = m_now + span;
        for (;;) {
            Timer* next = nullptr;
            for (Timer* t : m_timers)
                if (t->m_active && t->m_due <= end && (!next || t->m_due < next->m_due))
                    next = t;
            if (!next)
                break;
            m_now = std::max(m_now, next->m_due + lateness);
            next->m_active = false;
            if (next->onTimeout)
                next->onTimeout();
        }
        m_now = std::max(m_now, end);
    }
    // How late every timer fires, as a busy system makes it.
    std::chrono::nanoseconds lateness{0};

    bool anyActive() const
    {
        return std::any_of(m_timers.begin(), m_timers.end(), [](Timer* t) { return t->m_active; });
    }

private:
    SteadyTime m_now{std::chrono::hours(1)};
    std::vector<Timer*> m_timers;
};

} // namespace gf::test
