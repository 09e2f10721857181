// Installs the build into a temporary root (`cmake --install` with DESTDIR) and checks
// that the installed program finds everything it needs the way it looks for it: the
// item tables beside the real program file, the rest through the system settings.
#include "platform/InstallPaths.h"
#include "platform/MediaFiles.h"
#include "shell/Startup.h"
#include "support/DataSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace gf;

namespace gf::test {

namespace {

const QString kAppId = QStringLiteral("de.tannwald.GripsFix");
const QString kPrefix = QStringLiteral("/usr");

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

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_root.path());
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(qEnvironmentVariable("GF_CMAKE"),
                      {QStringLiteral("--install"), qEnvironmentVariable("GF_BUILD_DIR"),
                       QStringLiteral("--prefix"), kPrefix});
        QVERIFY(install.waitForFinished(240000));
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 install.readAll().constData());
        m_usr = m_root.path() + kPrefix;
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
        tool.start(m_usr + "/bin/gripsfix-data", {"tables", programDir + "/std.cfg"});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 0);
        QVERIFY(tool.readAllStandardOutput().contains("Tabelle: "));
    }

    // The installed settings name folders under the real prefix; below the temporary
    // root they must hold the whole media inventory and the closing screen's names.
    void settingsLeadToTheInstalledData()
    {
        const QString conf = m_root.path() + "/etc/xdg/Tannwald/GripsFix.conf";
        QVERIFY2(QFileInfo::exists(conf), qPrintable(conf));
        QSettings settings(conf, QSettings::IniFormat);
        InstallPaths paths;
        test::RecordingSink sink;
        QVERIFY(ReadInstallPaths(paths, m_usr + "/libexec/gripsfix", sink, &settings));
        QCOMPARE(paths.InstallDir, kPrefix + "/share/gripsfix/");
        const QString root = m_root.path();
        QVERIFY2(CheckMediaFiles(paths, sink,
                                 [&root](const QString& folder, const QString& name) {
                                     return mediaFileExists(root + folder, name);
                                 }),
                 qPrintable(sink.last()));
        QVERIFY(mediaFileExists(root + paths.InstallDir, "credits.txt"));
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
