#include "platform/Scheduling.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
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

// Qt's thread that reads the X display connection. Every repaint into shared memory first
// waits for a round trip to the X server, and the answer comes through this thread: at
// ordinary priority on a busy computer it held the raised painter up by milliseconds.
constexpr const char* DisplayReaderName = "QXcbEventQueue";

std::vector<pid_t> companionThreads()
{
    std::vector<pid_t> found;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid) + QStringLiteral("/comm"));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == DisplayReaderName)
            found.push_back(pid_t(tid.toInt()));
    }
    return found;
}

constexpr int MaxRaisedThreads = 4;
volatile sig_atomic_t g_raisedThreads[MaxRaisedThreads] = {};

extern "C" void demoteRunaway(int)
{
    sched_param ordinary{};
    ordinary.sched_priority = 0;
    for (const sig_atomic_t tid : g_raisedThreads)
        if (tid != 0)
            ::sched_setscheduler(pid_t(tid), SCHED_OTHER, &ordinary);
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
        std::vector<pid_t> threads{threadId()};
        for (pid_t tid : companionThreads())
            if (tid != threads.front() && int(threads.size()) < MaxRaisedThreads)
                threads.push_back(tid);
        // Watched before any of them runs raised.
        armWatchdog();
        for (std::size_t i = 0; i < threads.size(); ++i)
            m_threads.push_back(raiseThread(threads[i], g_raisedThreads[i]));
        if (!anyRealTime())
            disarmWatchdog();
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
        const bool watched = anyRealTime();
        for (const Thread& t : m_threads) {
            if (t.how == How::RealTime)
                ::sched_setscheduler(t.tid, t.policy, &t.param);
            if (t.how != How::Unchanged && t.niceKnown)
                ::setpriority(PRIO_PROCESS, id_t(t.tid), t.nice);
        }
        m_threads.clear();
        if (watched)
            disarmWatchdog();
    }

    bool raised() const override { return m_raised; }

private:
    enum class How
    {
        Unchanged,
        RealTime,
        Nice
    };
    struct Thread
    {
        pid_t tid = 0;
        How how = How::Unchanged;
        int policy = SCHED_OTHER;
        sched_param param{};
        int nice = 0;
        bool niceKnown = false;
    };

    bool anyRealTime() const
    {
        return std::any_of(m_threads.begin(), m_threads.end(),
                           [](const Thread& t) { return t.how == How::RealTime; });
    }

    // A raised thread that runs away is demoted by SIGXCPU once it has used RLIMIT_RTTIME.
    void armWatchdog()
    {
        ::getrlimit(RLIMIT_RTTIME, &m_oldLimit);
        rlimit limit = m_oldLimit;
        limit.rlim_cur = std::min(limit.rlim_max, RunawayMicroseconds);
        ::setrlimit(RLIMIT_RTTIME, &limit);
        struct sigaction demote
        {
        };
        demote.sa_handler = demoteRunaway;
        sigemptyset(&demote.sa_mask);
        ::sigaction(SIGXCPU, &demote, &m_oldAction);
    }

    void disarmWatchdog()
    {
        for (volatile sig_atomic_t& tid : g_raisedThreads)
            tid = 0;
        ::sigaction(SIGXCPU, &m_oldAction, nullptr);
        ::setrlimit(RLIMIT_RTTIME, &m_oldLimit);
    }

    // `slot`: where the watchdog finds the thread while it runs in the real-time class.
    Thread raiseThread(pid_t tid, volatile sig_atomic_t& slot)
    {
        Thread t;
        t.tid = tid;
        t.policy = ::sched_getscheduler(tid);
        ::sched_getparam(tid, &t.param);
        errno = 0;
        t.nice = ::getpriority(PRIO_PROCESS, id_t(tid));
        t.niceKnown = errno == 0;
        if (t.policy < 0 || realTime(t.policy))
            return t;
        slot = tid;
        sched_param param{};
        param.sched_priority = RealTimePriority;
        if (::sched_setscheduler(tid, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0 ||
            askBroker(tid)) {
            t.how = How::RealTime;
            return t;
        }
        slot = 0;
        if (t.niceKnown && t.nice > RaisedNice &&
            ::setpriority(PRIO_PROCESS, id_t(tid), RaisedNice) == 0)
            t.how = How::Nice;
        return t;
    }

    // The desktop's real-time broker raises threads of ordinary users; it answers at
    // once or not at all, so a refusal is remembered for the rest of the run.
    bool askBroker(pid_t tid)
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
        call << quint64(tid) << quint32(RealTimePriority);
        const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
        if (reply.type() != QDBusMessage::ReplyMessage)
            return false;
        m_brokerRefused = false;
        return realTime(::sched_getscheduler(tid));
    }

    void lock(const std::vector<MemoryRange>& buffers)
    {
        const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
        std::size_t total = 0;
        for (const MemoryRange& r : buffers) {
            if (!r.data || r.bytes == 0)
                continue;
            const auto begin = reinterpret_cast<std::uintptr_t>(r.data) & ~(page - 1);
            const auto end =
                (reinterpret_cast<std::uintptr_t>(r.data) + r.bytes + page - 1) & ~(page - 1);
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
    std::vector<Thread> m_threads;
    rlimit m_oldLimit{};
    struct sigaction m_oldAction
    {
    };
    std::vector<MemoryRange> m_locked;
};

} // namespace

PresentationScheduler& systemScheduler()
{
    static LinuxScheduler scheduler;
    return scheduler;
}

QString schedulingClass(int thread)
{
    const pid_t tid = thread != 0 ? pid_t(thread) : threadId();
    const int policy = ::sched_getscheduler(tid) & ~SCHED_RESET_ON_FORK;
    sched_param param{};
    ::sched_getparam(tid, &param);
    switch (policy) {
    case SCHED_FIFO:
        return QStringLiteral("SCHED_FIFO %1").arg(param.sched_priority);
    case SCHED_RR:
        return QStringLiteral("SCHED_RR %1").arg(param.sched_priority);
    default:
        break;
    }
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, id_t(tid));
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

QString schedulingClass(int)
{
    return QStringLiteral("normal");
}

#endif

} // namespace gf
