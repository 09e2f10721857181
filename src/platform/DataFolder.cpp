#include "platform/DataFolder.h"

#include "sys/DataFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QTemporaryFile>

#ifdef Q_OS_WIN
#include <shlobj.h>
#include <windows.h>
#endif

namespace gf {

namespace {

QString withSlash(QString dir)
{
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

} // namespace

QString commonDocumentsDir()
{
#ifdef Q_OS_WIN
    wchar_t buffer[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, SHGFP_TYPE_CURRENT, buffer) ==
        S_OK)
        return withSlash(QDir::fromNativeSeparators(QString::fromWCharArray(buffer)));
    return QString();
#else
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
#endif
}

QString defaultDataDir(const QString& programDir)
{
    return dataDirFrom(commonDocumentsDir(), programDir);
}

QString dataDirFrom(const QString& documentsDir, const QString& programDir)
{
    if (!documentsDir.isEmpty())
        return withSlash(documentsDir) + QStringLiteral("Tannwald/GripsFix/Daten/");
    // The installed program lives one folder below the product folder, so its data
    // sit beside it. Cutting a fixed number of characters, as older installations
    // did, mangles any other folder name; go up one whole folder instead.
    QString dir = QDir::cleanPath(programDir);
    const int cut = dir.lastIndexOf(QLatin1Char('/'));
    if (cut > 0)
        dir.truncate(cut);
    else if (cut == 0)
        dir = QStringLiteral("/");
    return withSlash(dir) + QStringLiteral("Daten/");
}

bool createFolderChain(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return files::makeFolders(folder) && QFileInfo(folder).isDir();
}

bool canCreateFilesIn(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir() || !info.isWritable())
        return false;
    const QStorageInfo storage(info.absoluteFilePath());
    if (storage.isValid() && storage.isReadOnly())
        return false;
    // Permissions can claim more than the medium allows (network shares, ACLs):
    // only a real file settles it.
    QTemporaryFile probe(QDir(info.absoluteFilePath()).filePath(QStringLiteral("gf_probe_XXXXXX")));
    if (!probe.open())
        return false;
    probe.close();
    return probe.remove();
}

} // namespace gf
