#include "core/data/MessageSink.h"
#include "platform/DataFolder.h"
#include "platform/InstallPaths.h"
#include "platform/MediaFiles.h"
#include "support/Recording.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
namespace gf::test {

#endif

using namespace gf;
using gf::test::RecordingSink;

namespace {

void write(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class TstFolders : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        setInstallSettingsFileForTests(QString());
        clearMediaCache();
    }

    void withoutSettingsTheProgramFolderHoldsTheMedia()
    {
        QTemporaryDir program, elsewhere;
        QVERIFY(QDir(program.path()).mkdir("bmp")); // other case than the default
        QVERIFY(QDir(program.path()).mkdir("WAV"));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        RecordingSink sink;
        InstallPaths paths;
        // Given without a final separator and not made current.
        const bool ok = ReadInstallPaths(paths, program.path(), sink, nullptr);
        // An absent settings file means no settings as well.
        setInstallSettingsFileForTests(program.filePath("none.ini"));
        InstallPaths again;
        const bool okAgain = ReadInstallPaths(again, program.path(), sink);
        QDir::setCurrent(previous);

        QVERIFY(ok && okAgain);
        QVERIFY(sink.entries.isEmpty());
        const QString root = QDir(program.path()).canonicalPath() + '/';
        QCOMPARE(paths.ProgramDir, root);
        QCOMPARE(paths.InstallDir, root);
        QCOMPARE(paths.BmpDir, root + "bmp/");
        QCOMPARE(paths.WavDir, root + "WAV/");
        QCOMPARE(paths.HlpDir, root + "HLP/"); // missing: the usual name
        QCOMPARE(again.WavDir, paths.WavDir);
    }

    void settingsValuesGetOneFinalSeparatorAfterTheCut()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath("gf.ini");
        const QString long300 = "/" + QString(299, 'w');
        const QString slashAt255 = "/" + QString(253, 'b') + "/" + QString(20, 'x');
        {
            QSettings settings(ini, QSettings::IniFormat);
            settings.setValue("Path", "/opt/Grips Fix");
            settings.setValue("Wav", long300);
            settings.setValue("Bmp", slashAt255);
            settings.setValue("Hlp", "/opt/gf/HLP\\"); // stored with a Windows separator
        }
        QSettings settings(ini, QSettings::IniFormat);
        RecordingSink sink;
        InstallPaths paths;
        QVERIFY(ReadInstallPaths(paths, dir.path(), sink, &settings));
        QVERIFY(sink.entries.isEmpty());
        QCOMPARE(paths.InstallDir, QString("/opt/Grips Fix/"));
        QCOMPARE(paths.WavDir, long300.left(255) + "/");
        QCOMPARE(paths.BmpDir, slashAt255.left(255)); // already ends with "/"
        QCOMPARE(paths.HlpDir, QString("/opt/gf/HLP/"));
        QCOMPARE(paths.SettingsFile, ini);

        // written by hand: a comma must not split the value; missing values read as empty
        write(dir.filePath("hand.ini"), "Path=/opt/a, b\nBmp=/b\n");
        setInstallSettingsFileForTests(dir.filePath("hand.ini"));
        QVERIFY(ReadInstallPaths(paths, dir.path(), sink));
        QCOMPARE(paths.InstallDir, QString("/opt/a,b/"));
        QCOMPARE(paths.BmpDir, QString("/b/"));
        QCOMPARE(paths.WavDir, QString("/"));
    }

    void missingOrEmptyPathIsFatal_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("no Path") << QByteArray("Wav=/w\nBmp=/b\nHlp=/h\n");
        QTest::newRow("empty Path") << QByteArray("Path=\nWav=/w\n");
    }
    void missingOrEmptyPathIsFatal()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        write(dir.filePath("gf.ini"), content);
        setInstallSettingsFileForTests(dir.filePath("gf.ini"));
        RecordingSink sink;
        InstallPaths paths;
        QVERIFY(!ReadInstallPaths(paths, dir.path(), sink));
        QCOMPARE(sink.entries.size(), 1);
        QCOMPARE(sink.entries[0].text,
                 QString("Schwerwiegender Fehler: \n\rProgramm- Oder Verzeichnisinformationen "
                         "nicht verfügbar.\n\rGrips-Fix kann nicht gestartet werden!"));
        QCOMPARE(sink.entries[0].kind, int(mkFehlermeldung));
        QCOMPARE(sink.entries[0].buttons, btn::OK);
    }

    void dataFolder()
    {
        QCOMPARE(dataDirFrom("/home/a/Dokumente/", "/opt/x/"),
                 QString("/home/a/Dokumente/Tannwald/GripsFix/Daten/"));
        // Without documents folder: beside the program folder, whatever its name's length.
        QCOMPARE(dataDirFrom("", "/opt/GripsFix/System/"), QString("/opt/GripsFix/Daten/"));
        QCOMPARE(dataDirFrom("", "/opt/GripsFix/bin/"), QString("/opt/GripsFix/Daten/"));
        QCOMPARE(dataDirFrom("", "/"), QString("/Daten/"));

        QTemporaryDir dir;
        const QString deep = dir.filePath("Tannwald/GripsFix/Daten/");
        QVERIFY(createFolderChain(deep));
        QVERIFY(QFileInfo(deep).isDir());
        QVERIFY(createFolderChain(deep)); // exists already
        write(dir.filePath("file"));
        QVERIFY(!createFolderChain(dir.filePath("file/sub")));
        QVERIFY(!createFolderChain(QString()));
    }

    void whereFilesCanBeCreated()
    {
        QTemporaryDir dir;
        QVERIFY(canCreateFilesIn(dir.path() + "/"));
        QVERIFY(QDir(dir.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty()); // the probe leaves nothing behind
        QVERIFY(!canCreateFilesIn(dir.filePath("missing")));
        write(dir.filePath("plain"));
        QVERIFY(!canCreateFilesIn(dir.filePath("plain")));
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            QSKIP("root may write anywhere");
#endif
        const QString locked = dir.filePath("locked");
        QVERIFY(QDir().mkdir(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        const bool can = canCreateFilesIn(locked);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!can);
    }

    void mediaNamesMatchWithoutRegardToCaseAndFollowTheFolder()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/";
        write(folder + "JINGLE.WAV");
        write(folder + "Titel.bmp");
        write(folder + "titel.BMP"); // differs only in case: the exact one wins
        QVERIFY(QDir(folder).mkdir("Sub"));
        write(folder + "Sub/tueren2.bmp");

        QCOMPARE(resolveMediaFile(folder, "Jingle.wav"), folder + "JINGLE.WAV");
        QCOMPARE(resolveMediaFile(folder, "Titel.bmp"), folder + "Titel.bmp");
        QCOMPARE(resolveMediaFile(folder, "Sub/Tueren2.BMP"), folder + "Sub/tueren2.bmp");
        QVERIFY(!mediaFileExists(folder, "Jingle"));
        QVERIFY(!mediaFileExists(folder, "Sub")); // folders are no media files
        QVERIFY(!mediaFileExists(folder + "nowhere/", "Jingle.wav"));

        // The listings follow the folder.
        QVERIFY(!mediaFileExists(folder, "hlp1.rtf"));
        write(folder + "HLP1.RTF"); // added after a lookup was cached
        QCOMPARE(resolveMediaFile(folder, "hlp1.rtf"), folder + "HLP1.RTF");
        // Renamed to another case: the cached real name must not survive.
        QVERIFY(QFile::rename(folder + "HLP1.RTF", folder + "Hlp1.rtf"));
        QCOMPARE(resolveMediaFile(folder, "hlp1.RTF"), folder + "Hlp1.rtf");
        QVERIFY(QFile::remove(folder + "Hlp1.rtf"));
        QVERIFY(!mediaFileExists(folder, "hlp1.rtf"));
    }
};

} // namespace gf::test

QTEST_GUILESS_MAIN(gf::test::TstFolders)
#include "tst_folders.moc"
