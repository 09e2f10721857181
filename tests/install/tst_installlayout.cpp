// Installs the build into a temporary prefix as an unprivileged user and checks that
// nothing lands outside it, that the installed program finds everything it needs beside
// its real program file without any settings, and that it starts.
#include "support/DataSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace gf;

namespace gf::test {

namespace {

const QString kAppId = QStringLiteral("de.tannwald.GripsFix");

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

} // namespace

class TstInstallLayout : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_usr;
    QString m_home; // the installer's home and temporary folder, outside the prefix
    uint m_uid = ::getuid();

    // Started as root (as CI runs), a command runs as a throwaway user: it can never
    // write the real /etc.
    void startAsInstaller(QProcess& p, QStringList command)
    {
        if (::geteuid() == 0) {
            const QString id = QString::number(m_uid);
            command = QStringList{"setpriv", "--reuid=" + id, "--regid=" + id, "--clear-groups"} +
                      command;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* var : {"HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            env.insert(var, m_home);
        env.remove("XDG_RUNTIME_DIR");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(command.takeFirst(), command);
    }

    // What the installer's user owns in the folders anybody may write to, but its own.
    QStringList strayFiles() const
    {
        QStringList found;
        for (const char* shared : {"/tmp", "/var/tmp", "/dev/shm"})
            for (const QFileInfo& f : QDir(shared).entryInfoList(
                     QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
                if (f.ownerId() == m_uid && f.absoluteFilePath() != m_root.path())
                    found << f.absoluteFilePath();
        return found;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        if (::geteuid() == 0) {
            m_uid = 61000 + uint(::getpid()) % 1000;
            QVERIFY(::chown(qPrintable(m_root.path()), m_uid, m_uid) == 0);
        }
        m_usr = m_root.path() + "/usr";
        m_home = m_root.path() + "/home";
        const QStringList strayBefore = strayFiles();

        // The install scripts read the build and the sources, which a clone may keep where
        // only root can look, and write their list of files into the build folder, which
        // only root may write: the scripts and what they read, copied into the root.
        const QString build = qEnvironmentVariable("GF_BUILD_DIR");
        const QString source = qEnvironmentVariable("GF_SOURCE_DIR");
        const QString b = m_root.filePath("build"), s = m_root.filePath("source");
        QProcess copy;
        for (const auto& [from, to, what] :
             {std::tuple{build, b, QStringList{"gripsfix", "packaging"}},
              std::tuple{source, s, QStringList{"assets", "packaging"}}}) {
            QVERIFY(QDir().mkpath(to));
            copy.setWorkingDirectory(from);
            copy.start("cp", QStringList{"-a", "--parents"} + what + QStringList{to + "/"});
            QVERIFY(copy.waitForFinished(60000) && copy.exitCode() == 0);
        }
        QDirIterator scripts(build, {"cmake_install.cmake"}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (scripts.hasNext()) {
            const QString script = scripts.next();
            QString text = readText(script);
            text.replace(build + "/", b + "/").replace(source + "/", s + "/");
            QFile to(b + script.mid(build.size()));
            QVERIFY(QDir().mkpath(QFileInfo(to).path()) && to.open(QIODevice::WriteOnly));
            to.write(text.toUtf8());
        }
        QVERIFY(QProcess::execute("chmod", {"-R", "a+rX", m_root.path()}) == 0);
        QVERIFY(QDir().mkpath(m_home));
        for (const QString& own : {m_home, b})
            QVERIFY(::chown(qPrintable(own), m_uid, m_uid) == 0);

        QProcess install;
        startAsInstaller(install, {qEnvironmentVariable("GF_CMAKE"),
                                   "-DCMAKE_INSTALL_PREFIX=" + m_usr, "-P",
                                   b + "/cmake_install.cmake"});
        QVERIFY(install.waitForFinished(240000));
        const QString log = QString::fromUtf8(install.readAll());
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 qPrintable(log));
        // every file the installation names lies in the prefix, and nothing else was left
        int named = 0;
        for (const QString& line : log.split(u'\n')) {
            const int colon = line.indexOf(QLatin1String(": "));
            if (!line.startsWith(QLatin1String("-- Install")) &&
                !line.startsWith(QLatin1String("-- Up-to-date")))
                continue;
            if (line.startsWith(QLatin1String("-- Install configuration")))
                continue;
            ++named;
            QVERIFY2(line.mid(colon + 2).startsWith(m_usr + "/"), qPrintable(line));
        }
        QVERIFY(named > 100);
        QCOMPARE(QDir(m_home).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
        QCOMPARE(strayFiles(), strayBefore);
    }

    // The menu runs "gripsfix" from the path; the link must lead to the real program,
    // whose folder holds the item tables, and the installed tool must run from there.
    void programsAreOnThePathWithTheirTablesBesideThem()
    {
        for (const QString name : {"gripsfix", "gripsfix-data"}) {
            const QFileInfo link(m_usr + "/bin/" + name);
            QVERIFY2(link.isSymLink(), qPrintable(name));
            const QFileInfo program(link.canonicalFilePath());
            QVERIFY2(program.isExecutable() && program.fileName() == name, qPrintable(name));
            QVERIFY(!program.absolutePath().startsWith(m_usr + "/bin"));
            for (const QString table : {"std.cfg", "bmp.cfg"}) {
                const QString beside = QFileInfo(program.dir().filePath(table)).canonicalFilePath();
                QVERIFY2(!beside.isEmpty() &&
                             beside == QFileInfo(m_usr + "/share/gripsfix/" + table)
                                           .canonicalFilePath(),
                         qPrintable(table));
            }
        }
        const QString programDir = QFileInfo(m_usr + "/bin/gripsfix").canonicalPath();
        QProcess tool;
        startAsInstaller(tool, {m_usr + "/bin/gripsfix-data", "tables", programDir + "/std.cfg"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAllStandardOutput().contains("Tabelle: "));
    }

    // Without settings the program looks beside its real file. Run by the user who
    // installed it, it gets past the media check: only then does it read the doors'
    // picture, as the kernel reports.
    void startsPastTheMediaCheck()
    {
        const QString programDir = QFileInfo(m_usr + "/bin/gripsfix").canonicalPath();
        QVERIFY(QFileInfo::exists(programDir + "/credits.txt"));
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0 && ::inotify_add_watch(watch, qPrintable(programDir + "/BMP/"),
                                                  IN_OPEN) >= 0);
        QProcess program;
        startAsInstaller(program, {m_usr + "/bin/gripsfix", "tl"});
        bool doors = false;
        QDeadlineTimer deadline(60000);
        while (!doors && program.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            pollfd pfd{watch, POLLIN, 0};
            if (::poll(&pfd, 1, 100) > 0) {
                alignas(inotify_event) char buffer[4096];
                const ssize_t n = ::read(watch, buffer, sizeof buffer);
                for (ssize_t at = 0; at < n;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                    doors = doors || (e->len && QString::fromLocal8Bit(e->name)
                                                        .compare("tueren2.bmp",
                                                                 Qt::CaseInsensitive) == 0);
                    at += ssize_t(sizeof(inotify_event) + e->len);
                }
            }
            program.waitForFinished(0);
        }
        ::close(watch);
        program.terminate(); // as a desktop session ends it
        QVERIFY(program.waitForFinished(20000));
        const QString out = QString::fromLocal8Bit(program.readAll());
        QVERIFY2(doors, qPrintable(out));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

    void desktopEntryIconAndMetadataBelongTogether()
    {
        const QString share = m_usr + "/share/";
        const QString desktop = readText(share + "applications/" + kAppId + ".desktop");
        QVERIFY(desktop.contains("\nExec=gripsfix\n"));
        QVERIFY(desktop.contains("\nIcon=" + kAppId + "\n"));
        QVERIFY(desktop.contains("\nCategories=Education;\n"));
        for (const int size : {48, 128}) {
            const QString icon = QStringLiteral("%1icons/hicolor/%2x%2/apps/%3.png")
                                     .arg(share)
                                     .arg(size)
                                     .arg(kAppId);
            QCOMPARE(QImage(icon).size(), QSize(size, size));
        }
        const QString meta = readText(share + "metainfo/" + kAppId + ".metainfo.xml");
        QVERIFY(meta.contains("<id>" + kAppId + "</id>"));
        QVERIFY(meta.contains(">" + kAppId + ".desktop</launchable>"));
    }
};

} // namespace gf::test

QTEST_MAIN(gf::test::TstInstallLayout)
#include "tst_installlayout.moc"
