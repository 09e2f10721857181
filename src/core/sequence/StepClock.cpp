#include "core/sequence/StepClock.h"

#include <QTimer>
#include <algorithm>
#include <thread>

namespace gf {

namespace {

using namespace std::chrono;

// Qt timers fire on whole milliseconds and never early, and a sleeping thread can wake
// a few milliseconds late when the processors are shared (the scheduler lets a running
// task finish its tick). So the timer wakes ahead of the deadline and waits out the
// rest actively. The lead grows with the wait, an eighth of it up to 15 ms, so a long
// wait (a stimulus a second or more away) is safe from a late wake-up while a short
// one (a poll every few milliseconds) never turns into a busy loop.
constexpr auto MinLead = microseconds(1000);
constexpr auto MaxLead = microseconds(15000);
// The wait sleeps in short naps and spins only at the very end: a process that spins
// for milliseconds on a busy machine is the first the scheduler takes the processor
// from, and gets it back only several milliseconds later.
constexpr auto SpinOnly = microseconds(300);
constexpr auto Nap = microseconds(100);

class QtStepTimer final : public StepTimer
{
public:
    QtStepTimer()
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { onQtTimeout(); });
    }

    void startAt(SteadyTime due) override
    {
        m_due = due;
        m_active = true;
        const auto left = duration_cast<microseconds>(m_due - steady_clock::now());
        m_lead = std::clamp(left / 8, MinLead, MaxLead);
        arm();
    }

    void stop() override
    {
        m_active = false;
        m_timer.stop();
    }

    bool isActive() const override { return m_active; }
    SteadyTime due() const override { return m_due; }

private:
    void arm()
    {
        const auto left = m_due - steady_clock::now();
        const auto coarse = duration_cast<milliseconds>(left - m_lead);
        m_timer.start(std::max(coarse, milliseconds(0)));
    }

    void onQtTimeout()
    {
        if (!m_active)
            return;
        if (m_due - steady_clock::now() > m_lead) {
            arm();
            return;
        }
        // A late wake-up leaves no time to prepare; the step itself comes first.
        if (onApproach && steady_clock::now() < m_due)
            onApproach();
        while (m_due - steady_clock::now() > SpinOnly)
            std::this_thread::sleep_for(Nap);
        while (steady_clock::now() < m_due) {
        }
        m_active = false;
        if (onTimeout)
            onTimeout();
    }

    QTimer m_timer;
    SteadyTime m_due{};
    microseconds m_lead = MinLead;
    bool m_active = false;
};

class QtStepClock final : public StepClock
{
public:
    SteadyTime now() const override { return steady_clock::now(); }
    std::unique_ptr<StepTimer> createTimer() override { return std::make_unique<QtStepTimer>(); }
};

} // namespace

StepClock& preciseStepClock()
{
    static QtStepClock clock;
    return clock;
}

StepTimer& StepTimerGroup::add(std::function<void()> onTimeout)
{
    Entry entry;
    entry.timer = m_clock.createTimer();
    entry.timer->onTimeout = std::move(onTimeout);
    m_entries.push_back(std::move(entry));
    return *m_entries.back().timer;
}

StepTimerGroup::Entry* StepTimerGroup::find(const StepTimer& timer)
{
    for (auto& e : m_entries)
        if (e.timer.get() == &timer)
            return &e;
    return nullptr;
}

void StepTimerGroup::start(StepTimer& timer, std::chrono::nanoseconds delay)
{
    startAt(timer, m_clock.now() + delay);
}

void StepTimerGroup::startAt(StepTimer& timer, SteadyTime due)
{
    Entry* e = find(timer);
    if (!e)
        return;
    if (m_pauseDepth > 0) {
        e->held = true;
        e->left = std::max(due - m_clock.now(), std::chrono::nanoseconds(0));
        return;
    }
    timer.startAt(due);
}

void StepTimerGroup::stop(StepTimer& timer)
{
    if (Entry* e = find(timer)) {
        e->held = false;
        timer.stop();
    }
}

void StepTimerGroup::stopAll()
{
    m_pauseDepth = 0;
    for (auto& e : m_entries) {
        e.held = false;
        e.timer->stop();
    }
}

void StepTimerGroup::pause()
{
    if (m_pauseDepth++ > 0)
        return;
    const auto now = m_clock.now();
    for (auto& e : m_entries) {
        if (!e.timer->isActive())
            continue;
        e.held = true;
        e.left = std::max(e.timer->due() - now, std::chrono::nanoseconds(0));
        e.timer->stop();
    }
}

void StepTimerGroup::resume()
{
    if (m_pauseDepth == 0 || --m_pauseDepth > 0)
        return;
    const auto now = m_clock.now();
    for (auto& e : m_entries) {
        if (!e.held)
            continue;
        e.held = false;
        e.timer->startAt(now + e.left);
    }
}

} // namespace gf
