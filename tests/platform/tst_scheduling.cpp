#include "platform/Scheduling.h"
#include "support/Memory.h"

#include <QFile>
#include <QtTest>

#include <atomic>
#include <linux/capability.h>
#include <pthread.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

using namespace gf;

namespace gf::test {

namespace {

// Takes the right to raise priorities and lock memory from the calling thread only.
bool dropPrivileges()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    for (int cap : {CAP_SYS_NICE, CAP_IPC_LOCK, CAP_SYS_RESOURCE})
        data[cap / 32].effective &= ~(1u << (cap % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

class TstScheduling : public QObject
{
    Q_OBJECT

private slots:
    // Raised while presenting, exactly as before once dropped, and with it the thread that
    // reads the display connection; the buffers locked only meanwhile, and no more of them
    // than an ordinary user may lock.
    void raiseAndDropRestore()
    {
        std::atomic<int> reader{0};
        std::atomic<bool> done{false};
        std::thread display([&] {
            ::pthread_setname_np(::pthread_self(), "QXcbEventQueue");
            reader = int(::syscall(SYS_gettid));
            while (!done)
                ::usleep(1000);
        });
        QTRY_VERIFY(reader != 0);
        const QString readerBefore = schedulingClass(reader);

        PresentationScheduler& s = systemScheduler();
        const QString before = schedulingClass();
        const qint64 lockedBefore = lockedKiB();
        std::vector<char> small(64 * 1024, 1), huge(PresentationScheduler::LockBudget, 1);
        s.raise({{small.data(), small.size()}, {huge.data(), huge.size()}});
        QVERIFY(s.raised());
        if (::geteuid() == 0) {
            QVERIFY2(schedulingClass().startsWith("SCHED_FIFO"), qPrintable(schedulingClass()));
            const qint64 locked = lockedKiB() - lockedBefore;
            QVERIFY2(locked >= 64 && locked < 1024, qPrintable(QString::number(locked)));
        }
        const QString readerDuring = schedulingClass(reader);
        s.raise({}); // nested: nothing changes
        s.drop();
        const QString readerAfter = schedulingClass(reader);
        done = true;
        display.join();
        QVERIFY(!s.raised());
        QCOMPARE(schedulingClass(), before);
        QCOMPARE(lockedKiB(), lockedBefore);
        if (::geteuid() == 0)
            QVERIFY2(readerDuring.startsWith("SCHED_FIFO"), qPrintable(readerDuring));
        QCOMPARE(readerAfter, readerBefore);
    }

    // Where the system refuses everything the program runs as before, without a word.
    void refusalLeavesEverythingAsItWas()
    {
        rlimit rtprio{}, nice{};
        ::getrlimit(RLIMIT_RTPRIO, &rtprio);
        ::getrlimit(RLIMIT_NICE, &nice);
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_RTPRIO, &none);
        ::setrlimit(RLIMIT_NICE, &none);
        QString before, during, after;
        bool dropped = false;
        std::thread([&] {
            dropped = dropPrivileges();
            before = schedulingClass();
            systemScheduler().raise({});
            during = schedulingClass();
            systemScheduler().drop();
            after = schedulingClass();
        }).join();
        ::setrlimit(RLIMIT_RTPRIO, &rtprio);
        ::setrlimit(RLIMIT_NICE, &nice);
        if (!dropped)
            QSKIP("the thread's privileges cannot be taken");
        QCOMPARE(during, before);
        QCOMPARE(after, before);
    }

    // A raised thread that never yields is demoted after a tenth of a second of processor
    // time, and the watchdog is gone once the presentation drops.
    void runawayIsDemoted()
    {
        if (::geteuid() != 0)
            QSKIP("the real-time class needs root here");
        struct sigaction before{};
        ::sigaction(SIGXCPU, nullptr, &before);
        PresentationScheduler& s = systemScheduler();
        s.raise({});
        QVERIFY2(schedulingClass().startsWith("SCHED_FIFO"), qPrintable(schedulingClass()));
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        while (schedulingClass().startsWith("SCHED_FIFO") &&
               std::chrono::steady_clock::now() < giveUp) {
        }
        const QString spun = schedulingClass();
        s.drop();
        struct sigaction after{};
        ::sigaction(SIGXCPU, nullptr, &after);
        QVERIFY2(!spun.startsWith("SCHED_FIFO"), qPrintable(spun));
        QVERIFY(after.sa_handler == before.sa_handler);
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstScheduling)
#include "tst_scheduling.moc"
