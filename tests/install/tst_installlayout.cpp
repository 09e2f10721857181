// Installs the build into a temporary prefix (`cmake --install --prefix`) and checks that
// nothing lands outside it and that the installed program finds everything it needs
// beside its real program file, without any settings.
#include "platform/InstallPaths.h"
#include "platform/MediaFiles.h"
#include "shell/Startup.h"
#include "support/DataSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_usr = m_root.path() + "/usr";
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(qEnvironmentVariable("GF_CMAKE"),
                      {QStringLiteral("--install"), qEnvironmentVariable("GF_BUILD_DIR"),
                       QStringLiteral("--prefix"), m_usr});
        QVERIFY(install.waitForFinished(240000));
        const QString log = QString::fromUtf8(install.readAll());
        QVERIFY2(install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0,
                 qPrintable(log));
        // every file the installation names lies in the prefix
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

    // Without settings the program looks beside its real file; there it must find the
    // whole media inventory and the closing screen's names.
    void dataIsFoundBesideTheProgram()
    {
        const QString programDir = QFileInfo(m_usr + "/bin/gripsfix").canonicalPath();
        InstallPaths paths;
        test::RecordingSink sink;
        QVERIFY(ReadInstallPaths(paths, programDir, sink, nullptr));
        QVERIFY2(CheckMediaFiles(paths, sink,
                                 [](const QString& folder, const QString& name) {
                                     return mediaFileExists(folder, name);
                                 }),
                 qPrintable(sink.last()));
        QVERIFY(mediaFileExists(paths.InstallDir, "credits.txt"));
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
