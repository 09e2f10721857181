#include "platform/MediaFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace gf {

namespace {

struct FolderListing
{
    QDateTime modified;
    QHash<QString, QString> byFoldedName; // case-folded name -> real name
};

QMutex g_mutex;
QHash<QString, FolderListing> g_listings; // by absolute folder path

FolderListing readListing(const QDir& dir, const QDateTime& modified)
{
    FolderListing listing;
    listing.modified = modified;
    // Sorted so that among names differing only in case the first one wins, always.
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString folded = name.toCaseFolded();
        if (!listing.byFoldedName.contains(folded))
            listing.byFoldedName.insert(folded, name);
    }
    return listing;
}

} // namespace

QString resolveMediaFile(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return QString();
    const QString full = folder + name;
    const QFileInfo exact(full);
    if (exact.isFile())
        return full;

    const int slash = full.lastIndexOf(QLatin1Char('/'));
    const QString dirPath = slash >= 0 ? full.left(slash + 1) : QString();
    const QString fileName = full.mid(slash + 1);
    if (fileName.isEmpty())
        return QString();
    const QFileInfo dirInfo(dirPath.isEmpty() ? QStringLiteral(".") : dirPath);
    if (!dirInfo.isDir())
        return QString();

    const QString key = dirInfo.absoluteFilePath();
    const QString folded = fileName.toCaseFolded();
    // A change within the time stamp's resolution can leave a cached listing stale,
    // so a miss or a vanished file in a cached listing reads the folder once more.
    bool fresh = false;
    while (true) {
        const QDateTime modified = QFileInfo(key).lastModified();
        QString realName;
        {
            QMutexLocker lock(&g_mutex);
            auto it = g_listings.find(key);
            if (it == g_listings.end() || it->modified != modified) {
                it = g_listings.insert(key, readListing(QDir(key), modified));
                fresh = true;
            }
            realName = it->byFoldedName.value(folded);
        }
        if (!realName.isEmpty() && QFileInfo(dirPath + realName).isFile())
            return dirPath + realName;
        if (fresh)
            return QString();
        QMutexLocker lock(&g_mutex);
        g_listings.remove(key);
    }
}

bool mediaFileExists(const QString& folder, const QString& name)
{
    return !resolveMediaFile(folder, name).isEmpty();
}

QString mediaPath(const QString& folder, const QString& name)
{
    const QString resolved = resolveMediaFile(folder, name);
    return resolved.isEmpty() ? folder + name : resolved;
}

void clearMediaCache()
{
    QMutexLocker lock(&g_mutex);
    g_listings.clear();
}

} // namespace gf
