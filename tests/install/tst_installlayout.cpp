// Installs the build into a temporary prefix as an unprivileged user: nothing lands
// outside it, and the installed programs find everything beside their real files,
// without any settings.
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace gf::test {

class TstInstallLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr = m_root.filePath("usr");
    QString m_home = m_root.filePath("home"); // the installer's, outside the prefix
    uint m_uid = ::getuid();

    static QString readText(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Started as root (as CI runs), a command runs as a throwaway user, who can never
    // write the real /etc.
    void startAsInstaller(QProcess& p, QStringList command)
    {
        const QString id = QString::number(m_uid);
        if (::geteuid() == 0)
            command = QStringList{"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"} +
                      command;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* var : {"HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            env.insert(var, m_home);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(command.takeFirst(), command);
    }

    // What the installer owns, but its own root, where anybody may write.
    QStringList strayFiles() const
    {
        QStringList found;
        for (const char* shared : {"/tmp", "/var/tmp", "/dev/shm"})
            for (const QFileInfo& f : QDir(shared).entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                                 QDir::System | QDir::NoDotAndDotDot))
                if (f.ownerId() == m_uid && f.absoluteFilePath() != m_root.path())
                    found << f.absoluteFilePath();
        return found;
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() == 0)
            m_uid = 61000 + uint(::getpid()) % 1000;
        const QStringList strayBefore = strayFiles();
        // The install scripts read the build and the sources, which a clone may keep where
        // only root can look, and write their list of files into the build folder: the
        // scripts and what they read, copied into the root, with their paths there.
        const QString build = qEnvironmentVariable("GF_BUILD_DIR") + '/';
        const QString source = qEnvironmentVariable("GF_SOURCE_DIR") + '/';
        const QString b = m_root.filePath("build/"), s = m_root.filePath("source/");
        for (const auto& [from, to, a, c] : {std::tuple{build, b, "gripsfix", "packaging"},
                                             std::tuple{source, s, "assets", "packaging"}}) {
            QVERIFY(QDir().mkpath(to));
            QProcess cp;
            cp.setWorkingDirectory(from);
            cp.start("cp", {"-a", "--parents", a, c, to});
            QVERIFY(cp.waitForFinished(60000) && cp.exitCode() == 0);
        }
        for (QDirIterator it(build, {"cmake_install.cmake"}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();) {
            QFile to(b + it.next().mid(build.size()));
            QVERIFY(QDir().mkpath(QFileInfo(to).path()) && to.open(QIODevice::WriteOnly));
            to.write(readText(it.filePath()).replace(build, b).replace(source, s).toUtf8());
        }
        QVERIFY(QDir().mkpath(m_home) &&
                QProcess::execute("chmod", {"-R", "a+rX", m_root.path()}) == 0);
        for (const QString& own : {m_root.path(), m_home, b})
            QVERIFY(::chown(qPrintable(own), m_uid, m_uid) == 0);

        QProcess install;
        startAsInstaller(install, {qEnvironmentVariable("GF_CMAKE"),
                                   "-DCMAKE_INSTALL_PREFIX=" + m_usr, "-P", b + "cmake_install.cmake"});
        QVERIFY(install.waitForFinished(240000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        QCOMPARE(QDir(m_home).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(strayFiles(), strayBefore);
    }

    // The tool runs from bin/ and finds the item tables beside its real file.
    void toolRunsFromThePathWithItsTables()
    {
        QProcess tool;
        startAsInstaller(tool, {m_usr + "/bin/gripsfix-data", "tables",
                                QFileInfo(m_usr + "/bin/gripsfix").canonicalPath() + "/std.cfg"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAll().contains("Tabelle: "));
    }

    // Run by the user who installed it, the program gets past its media check: only then
    // does it read the doors' picture, as the kernel reports.
    void programStartsPastTheMediaCheck()
    {
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(::inotify_add_watch(watch, qPrintable(m_usr + "/share/gripsfix/BMP"), IN_OPEN) >= 0);
        QProcess program;
        startAsInstaller(program, {m_usr + "/bin/gripsfix", "tl"});
        bool doors = false;
        for (QDeadlineTimer deadline(60000); !doors && !deadline.hasExpired();) {
            if (program.waitForFinished(0) || program.state() == QProcess::NotRunning)
                break;
            pollfd pfd{watch, POLLIN, 0};
            alignas(inotify_event) char buffer[4096];
            const ssize_t n = ::poll(&pfd, 1, 100) > 0 ? ::read(watch, buffer, sizeof buffer) : 0;
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                doors |= e->len && QByteArray(e->name).toLower() == "tueren2.bmp";
                at += ssize_t(sizeof(inotify_event) + e->len);
            }
        }
        ::close(watch);
        program.terminate(); // as a desktop session ends it
        QVERIFY(program.waitForFinished(20000));
        QVERIFY2(doors, program.readAll().constData());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

    void desktopEntryStartsTheInstalledProgramWithItsIcon()
    {
        const QString share = m_usr + "/share/", id = "de.tannwald.GripsFix";
        QVERIFY(readText(share + "applications/" + id + ".desktop").contains("\nExec=gripsfix\n"));
        QCOMPARE(QImage(share + "icons/hicolor/128x128/apps/" + id + ".png").size(), QSize(128, 128));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstInstallLayout)
#include "tst_installlayout.moc"
