#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QSignalSpy>
#include <QtTest>
#include <atomic>
#include <thread>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
namespace gf::test {

#endif

using namespace gf;

namespace {

QString uniqueKey(const char* what)
{
    return SingleInstance::defaultKey() + "-t" +
           QString::number(QCoreApplication::applicationPid()) + "-" + what;
}

// A second start, as another process would do it: blocking, without an event loop.
// The first instance keeps running its event loop meanwhile.
bool secondStartActivates(const QString& key)
{
    std::atomic<int> result{-1};
    std::thread second([&] { result = SingleInstance(key).tryActivateRunning() ? 1 : 0; });
    // Its waits are bounded, so the join cannot hang.
    while (result == -1)
        QTest::qWait(5);
    second.join();
    return result == 1;
}

} // namespace

class TstInstance : public QObject
{
    Q_OBJECT

private slots:
    void aSecondStartActivatesTheFirst()
    {
        const QString key = uniqueKey("a");
        {
            SingleInstance first(key);
            QVERIFY(!first.tryActivateRunning()); // nobody runs yet
            QVERIFY(first.listen());
            QSignalSpy activated(&first, &SingleInstance::activationRequested);
            QVERIFY(secondStartActivates(key));
            QTRY_COMPARE(activated.size(), 1);
            QVERIFY(secondStartActivates(key));
            QTRY_COMPARE(activated.size(), 2);

            SingleInstance rival(key);
            QVERIFY(!rival.listen()); // a live instance keeps its key
            QVERIFY(first.isListening());
        }
        // the key is free once the first has ended
        SingleInstance next(key);
        QVERIFY(!next.tryActivateRunning());
        QVERIFY(next.listen());
    }

    void aSocketLeftByACrashIsTakenOver()
    {
#ifdef Q_OS_UNIX
        const QString key = uniqueKey("c");
        const QByteArray path = QFile::encodeName(QDir::tempPath() + "/" + key);
        // What a killed instance leaves: a bound socket file nobody listens on.
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(path.size()) < sizeof(address.sun_path));
        memcpy(address.sun_path, path.constData(), path.size());
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));

        SingleInstance restarted(key);
        QVERIFY(!restarted.tryActivateRunning());
        QVERIFY(restarted.listen());
        QSignalSpy activated(&restarted, &SingleInstance::activationRequested);
        QVERIFY(secondStartActivates(key));
        QTRY_COMPARE(activated.size(), 1);
#else
        QSKIP("socket files exist on Unix only");
#endif
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstInstance)
#include "tst_instance.moc"
