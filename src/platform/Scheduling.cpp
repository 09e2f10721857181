#include "platform/Scheduling.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <QDBusConnection>
#include <QDBusMessage>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <csignal>
#include <sched.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace gf {

#ifdef Q_OS_LINUX

namespace {

// Above the system's own threads of ordinary priority, below the audio servers' and
// the kernel's interrupt threads (50).
constexpr int RealTimePriority = 10;
constexpr int RaisedNice = -10;
// Real-time CPU time without sleeping before the kernel warns (SIGXCPU); the handler
// demotes the thread, so a fault that keeps it running cannot take a core for good.
constexpr rlim_t RunawayMicroseconds = 100'000;
// The broker grants real time only to processes whose hard limit is at most this.
constexpr rlim_t BrokerHardLimit = 200'000;

pid_t threadId()
{
    return pid_t(::syscall(SYS_gettid));
}

volatile sig_atomic_t g_raisedThread = 0;

extern "C" void demoteRunaway(int)
{
    const pid_t tid = g_raisedThread;
    if (tid == 0)
        return;
    sched_param ordinary{};
    ordinary.sched_priority = 0;
    ::sched_setscheduler(tid, SCHED_OTHER, &ordinary);
}

bool realTime(int policy)
{
    policy &= ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

class LinuxScheduler final : public PresentationScheduler
{
public:
    void raise(const std::vector<MemoryRange>& buffers) override
    {
        if (m_raised)
            return;
        m_raised = true;
        m_thread = threadId();
        m_policy = ::sched_getscheduler(0);
        ::sched_getparam(0, &m_param);
        errno = 0;
        m_nice = ::getpriority(PRIO_PROCESS, id_t(m_thread));
        m_niceKnown = errno == 0;
        m_how = How::Unchanged;
        if (m_policy >= 0 && !realTime(m_policy)) {
            if (raiseRealTime())
                m_how = How::RealTime;
            else if (m_niceKnown && m_nice > RaisedNice &&
                     ::setpriority(PRIO_PROCESS, id_t(m_thread), RaisedNice) == 0)
                m_how = How::Nice;
        }
        lock(buffers);
    }

    void drop() override
    {
        if (!m_raised)
            return;
        m_raised = false;
        for (const MemoryRange& r : m_locked)
            ::munlock(r.data, r.bytes);
        m_locked.clear();
        if (m_how == How::RealTime) {
            g_raisedThread = 0;
            ::sched_setscheduler(0, m_policy, &m_param);
            ::sigaction(SIGXCPU, &m_oldAction, nullptr);
            ::setrlimit(RLIMIT_RTTIME, &m_oldLimit);
        }
        if (m_how != How::Unchanged && m_niceKnown)
            ::setpriority(PRIO_PROCESS, id_t(m_thread), m_nice);
        m_how = How::Unchanged;
    }

    bool raised() const override { return m_raised; }

private:
    enum class How
    {
        Unchanged,
        RealTime,
        Nice
    };

    bool raiseRealTime()
    {
        ::getrlimit(RLIMIT_RTTIME, &m_oldLimit);
        rlimit limit = m_oldLimit;
        limit.rlim_cur = std::min(limit.rlim_max, RunawayMicroseconds);
        ::setrlimit(RLIMIT_RTTIME, &limit);
        struct sigaction demote{};
        demote.sa_handler = demoteRunaway;
        sigemptyset(&demote.sa_mask);
        ::sigaction(SIGXCPU, &demote, &m_oldAction);
        g_raisedThread = m_thread;

        sched_param param{};
        param.sched_priority = RealTimePriority;
        if (::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0)
            return true;
        if (askBroker())
            return true;
        g_raisedThread = 0;
        ::sigaction(SIGXCPU, &m_oldAction, nullptr);
        ::setrlimit(RLIMIT_RTTIME, &m_oldLimit);
        return false;
    }

    // The desktop's real-time broker raises threads of ordinary users; it answers at
    // once or not at all, so a refusal is remembered for the rest of the run.
    bool askBroker()
    {
        if (m_brokerRefused)
            return false;
        m_brokerRefused = true;
        QDBusConnection bus = QDBusConnection::systemBus();
        if (!bus.isConnected())
            return false;
        // The broker's condition; a hard limit once lowered stays lowered, which suits a
        // program that only ever wants short bursts.
        rlimit limit{};
        ::getrlimit(RLIMIT_RTTIME, &limit);
        if (limit.rlim_max > BrokerHardLimit) {
            limit.rlim_max = BrokerHardLimit;
            limit.rlim_cur = std::min(limit.rlim_cur, BrokerHardLimit);
            if (::setrlimit(RLIMIT_RTTIME, &limit) != 0)
                return false;
            m_oldLimit.rlim_max = BrokerHardLimit;
            m_oldLimit.rlim_cur = std::min(m_oldLimit.rlim_cur, BrokerHardLimit);
        }
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.RealtimeKit1"),
            QStringLiteral("/org/freedesktop/RealtimeKit1"),
            QStringLiteral("org.freedesktop.RealtimeKit1"), QStringLiteral("MakeThreadRealtime"));
        call << quint64(m_thread) << quint32(RealTimePriority);
        const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return false;
        m_brokerRefused = false;
        return realTime(::sched_getscheduler(0));
    }

    void lock(const std::vector<MemoryRange>& buffers)
    {
        const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        std::size_t total = 0;
        for (const MemoryRange& r : buffers) {
            if (!r.data || r.bytes == 0)
                continue;
            const auto begin = reinterpret_cast<std::uintptr_t>(r.data) & ~(page - 1);
            const auto end = (reinterpret_cast<std::uintptr_t>(r.data) + r.bytes + page - 1) &
                             ~(page - 1);
            const MemoryRange pages{reinterpret_cast<const void*>(begin), end - begin};
            if (total + pages.bytes > LockBudget)
                continue;
            if (::mlock(pages.data, pages.bytes) == 0) {
                m_locked.push_back(pages);
                total += pages.bytes;
            }
        }
    }

    bool m_raised = false;
    bool m_brokerRefused = false;
    How m_how = How::Unchanged;
    pid_t m_thread = 0;
    int m_policy = SCHED_OTHER;
    sched_param m_param{};
    int m_nice = 0;
    bool m_niceKnown = false;
    rlimit m_oldLimit{};
    struct sigaction m_oldAction{};
    std::vector<MemoryRange> m_locked;
};

} // namespace

PresentationScheduler& systemScheduler()
{
    static LinuxScheduler scheduler;
    return scheduler;
}

QString schedulingClass()
{
    const int policy = ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    sched_param param{};
    ::sched_getparam(0, &param);
    switch (policy) {
    case SCHED_FIFO:
        return QStringLiteral("SCHED_FIFO %1").arg(param.sched_priority);
    case SCHED_RR:
        return QStringLiteral("SCHED_RR %1").arg(param.sched_priority);
    default:
        break;
    }
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, id_t(threadId()));
    const QString name = policy == SCHED_BATCH  ? QStringLiteral("SCHED_BATCH")
                         : policy == SCHED_IDLE ? QStringLiteral("SCHED_IDLE")
                                                : QStringLiteral("SCHED_OTHER");
    return errno == 0 ? name + QStringLiteral(" nice %1").arg(nice) : name;
}

#else

namespace {

// Elsewhere the presentation runs at the priority it has.
class UnchangedScheduler final : public PresentationScheduler
{
public:
    void raise(const std::vector<MemoryRange>&) override { m_raised = true; }
    void drop() override { m_raised = false; }
    bool raised() const override { return m_raised; }

private:
    bool m_raised = false;
};

} // namespace

PresentationScheduler& systemScheduler()
{
    static UnchangedScheduler scheduler;
    return scheduler;
}

QString schedulingClass()
{
    return QStringLiteral("normal");
}

#endif

} // namespace gf
