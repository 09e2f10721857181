#include "sys/DataFiles.h"

#include "sys/Cp1252.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace gf {

QString fileErrorText(const QFileDevice& file)
{
    const QString name = QDir::toNativeSeparators(file.fileName());
    switch (file.error()) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::OpenError:
        if (!QFileInfo::exists(file.fileName()))
            return QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(name);
        return QStringLiteral("Die Datei %1 kann nicht geöffnet werden (Zugriff verweigert).")
            .arg(name);
    case QFileDevice::ReadError:
        return QStringLiteral("Lesefehler in der Datei %1.").arg(name);
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        return QStringLiteral("Schreibfehler in der Datei %1 (Datenträger voll oder "
                              "schreibgeschützt?).")
            .arg(name);
    case QFileDevice::PermissionsError:
        return QStringLiteral("Zugriff auf die Datei %1 verweigert.").arg(name);
    case QFileDevice::RemoveError:
        return QStringLiteral("Die Datei %1 kann nicht gelöscht werden.").arg(name);
    default:
        return QStringLiteral("Dateifehler bei %1.").arg(name);
    }
}


namespace files {

QString lastComponent(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

QString inFolder(const QString& dataDir, const QString& storedName)
{
    const QString last = lastComponent(storedName);
    if (last.isEmpty() || last == u"." || last == u"..")
        return {};
    return dataDir + last;
}

QString causeText(int systemError)
{
    switch (systemError) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Datei oder Ordner nicht gefunden");
    case EACCES:
    case EPERM:
        return QStringLiteral("Zugriff verweigert");
    case EROFS:
        return QStringLiteral("der Datenträger ist schreibgeschützt");
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("der Datenträger ist voll");
    case EEXIST:
        return QStringLiteral("die Datei gibt es schon");
    case EISDIR:
        return QStringLiteral("das ist ein Ordner");
    case EBUSY:
        return QStringLiteral("die Datei wird gerade benutzt");
    case ENAMETOOLONG:
        return QStringLiteral("der Name ist zu lang");
    case EIO:
        return QStringLiteral("Ein-/Ausgabefehler des Datenträgers");
    }
    return QString::fromLocal8Bit(std::strerror(systemError));
}

QString errorText(Op op, int systemError, const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    if (op == Op::Read && (systemError == ENOENT || systemError == ENOTDIR))
        return QStringLiteral("Die Datei %1 wurde nicht gefunden.").arg(name);
    QString text;
    switch (op) {
    case Op::Read:
        text = QStringLiteral("Die Datei %1 kann nicht gelesen werden: ");
        break;
    case Op::Write:
        text = QStringLiteral("Die Datei %1 kann nicht geschrieben werden: ");
        break;
    case Op::Remove:
        text = QStringLiteral("Die Datei %1 kann nicht gelöscht werden: ");
        break;
    }
    return text.arg(name) + causeText(systemError) + u'.';
}

QString notRegularText(const QString& path)
{
    return QStringLiteral("%1 ist keine gewöhnliche Datei (sondern ein Ordner, ein Gerät oder "
                          "eine Pipe) und wird nicht benutzt.")
        .arg(QDir::toNativeSeparators(path));
}

#ifdef Q_OS_UNIX

namespace {

// The name on disk: the UTF-8 name when that exists, else the Windows-1252 spelling of
// the last component when that exists, else the UTF-8 name (for files to be made).
// found tells whether it exists; with st given, links are followed and st receives
// the status of what the name leads to.
bool g_preferCp1252 = false;

// The Windows-1252 spelling of path's last component, or empty when it has none or
// it is the UTF-8 one.
QByteArray cp1252Name(const QString& path, const QByteArray& utf8)
{
    const qsizetype cut = path.lastIndexOf(u'/');
    QByteArray last;
    if (!cp1252::encode(path.mid(cut + 1), last))
        return {};
    QByteArray other = QFile::encodeName(path.left(cut + 1)) + last;
    return other == utf8 ? QByteArray() : other;
}

QByteArray diskName(const QString& path, bool* found = nullptr, struct stat* st = nullptr)
{
    struct stat own;
    const auto look = [&](const QByteArray& name) {
        return (st ? ::stat(name.constData(), st) : ::lstat(name.constData(), &own)) == 0;
    };
    const QByteArray utf8 = QFile::encodeName(path);
    const QByteArray other = cp1252Name(path, utf8);
    QByteArray first = utf8, second = other;
    if (g_preferCp1252 && !other.isEmpty())
        std::swap(first, second);
    bool exists = look(first);
    QByteArray name = first;
    if (!exists && !second.isEmpty() && look(second)) {
        name = second;
        exists = true;
    }
    if (found)
        *found = exists;
    // A file to be made gets the preferred spelling.
    return name;
}

QString decodeEntry(const char* raw)
{
    const QByteArray bytes(raw);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return cp1252::decode(bytes.constData(), int(bytes.size()));
}

// 0 or the error of the first failing write.
int writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += n;
    }
    return 0;
}

// Writes, forces to disk and closes fd; 0 or the first error.
int finish(int fd, const QByteArray& bytes)
{
    int error = writeAll(fd, bytes);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool exists(const QString& path)
{
    bool found = false;
    diskName(path, &found);
    return found;
}

void preferCp1252(bool prefer)
{
    g_preferCp1252 = prefer;
}

bool prefersCp1252()
{
    return g_preferCp1252;
}

bool hasTwoSpellings(const QString& path)
{
    const QByteArray utf8 = QFile::encodeName(path);
    const QByteArray other = cp1252Name(path, utf8);
    struct stat st;
    return !other.isEmpty() && ::lstat(utf8.constData(), &st) == 0 &&
           ::lstat(other.constData(), &st) == 0;
}

QStringList entries(const QString& dir)
{
    QStringList names;
    for (const Entry& e : entryList(dir))
        names.append(e.name);
    return names;
}

QList<Entry> entryList(const QString& dir)
{
    QList<Entry> names;
    QByteArray folder = QFile::encodeName(dir.isEmpty() ? QStringLiteral(".") : dir);
    if (!folder.endsWith('/'))
        folder += '/';
    DIR* handle = ::opendir(folder.constData());
    if (!handle)
        return names;
    while (const dirent* e = ::readdir(handle)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        if (e->d_type == DT_DIR)
            continue;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            if (::stat((folder + e->d_name).constData(), &st) == 0 && S_ISDIR(st.st_mode))
                continue;
        }
        const QString name = decodeEntry(e->d_name);
        names.append({name, QFile::encodeName(name) != QByteArray(e->d_name)});
    }
    ::closedir(handle);
    return names;
}

namespace {
mode_t processUmask()
{
    // Read once: setting it back at once leaves a moment only at start-up.
    static const mode_t mask = [] {
        const mode_t m = ::umask(077);
        ::umask(m);
        return m;
    }();
    return mask;
}
} // namespace

int privateFileMode()
{
    return (processUmask() & S_IWGRP) ? 0600 : 0660;
}

int privateFolderMode()
{
    return (processUmask() & S_IWGRP) ? 0700 : 0770;
}

bool makeFolders(const QString& folder)
{
    const QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent == path || !makeFolders(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), mode_t(privateFolderMode())) == 0 ||
           QFileInfo(path).isDir();
}

bool createNew(const QString& path, const QByteArray& bytes, QString* error, bool* existed)
{
    if (existed)
        *existed = false;
    const QByteArray name = diskName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          mode_t(privateFileMode()));
    if (fd < 0) {
        if (existed)
            *existed = errno == EEXIST;
        return fail(error, errorText(Op::Write, errno, path));
    }
    if (const int e = finish(fd, bytes); e != 0) {
        ::unlink(name.constData()); // made here a moment ago
        return fail(error, errorText(Op::Write, e, path));
    }
    return true;
}

bool replace(const QString& path, const QByteArray& bytes, QString* error)
{
    const QByteArray target = diskName(path);
    struct stat st;
    const bool existed = ::stat(target.constData(), &st) == 0;
    if (existed && !S_ISREG(st.st_mode))
        return fail(error, notRegularText(path));
    // The rename would replace a file its owner made read-only, or one of another
    // user in a shared folder; refuse what could not be written in place.
    if (existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return fail(error, errorText(Op::Write, errno, path));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash >= 0 ? target.left(slash + 1) : QByteArray();
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + ".gf-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    mode_t(privateFileMode()));
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int e = errno;
        struct stat dir;
        const bool folderThere = ::stat(folder.isEmpty() ? "." : folder.constData(), &dir) == 0 &&
                                 S_ISDIR(dir.st_mode);
        if (!folderThere)
            return fail(error, errorText(Op::Write, e, path));
        // The file's own name is not what failed: the folder takes no new file.
        return fail(error, QStringLiteral("Die Datei %1 kann nicht geschrieben werden: im Ordner "
                                          "%2 kann keine Datei angelegt werden (%3).")
                               .arg(QDir::toNativeSeparators(path),
                                    QDir::toNativeSeparators(QFile::decodeName(
                                        folder.isEmpty() ? QByteArray(".") : folder)),
                                    e == ENOENT ? QStringLiteral("das Dateisystem lässt es nicht zu")
                                                : causeText(e)));
    }
    // Owner and group keep what they had; others gain nothing.
    if (existed)
        ::fchmod(fd, st.st_mode & 0770);
    int e = finish(fd, bytes);
    if (e == 0 && ::rename(temp.constData(), target.constData()) != 0)
        e = errno;
    if (e != 0) {
        ::unlink(temp.constData());
        return fail(error, errorText(Op::Write, e, path));
    }
    return true;
}

bool remove(const QString& path, QString* error)
{
    if (::unlink(diskName(path).constData()) == 0)
        return true;
    return fail(error, errorText(Op::Remove, errno, path));
}

#else // Names are Unicode on disk here; Qt reaches every file.

namespace {
bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}
} // namespace

bool exists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QStringList entries(const QString& dir)
{
    return QDir(dir.isEmpty() ? QStringLiteral(".") : dir)
        .entryList(QDir::Files | QDir::Hidden | QDir::System);
}

QList<Entry> entryList(const QString& dir)
{
    QList<Entry> list;
    for (const QString& name : entries(dir))
        list.append({name, false});
    return list;
}

// Names on disk are Unicode: one spelling only.
void preferCp1252(bool) {}

bool prefersCp1252()
{
    return false;
}

bool hasTwoSpellings(const QString&)
{
    return false;
}

bool createNew(const QString& path, const QByteArray& bytes, QString* error, bool* existed)
{
    if (existed)
        *existed = exists(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error, fileErrorText(file));
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString text = fileErrorText(file);
        file.close();
        file.remove();
        return fail(error, text);
    }
    return true;
}

bool replace(const QString& path, const QByteArray& bytes, QString* error)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return fail(error, notRegularText(path));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        file.commit())
        return true;
    const QString text = fileErrorText(file);
    file.cancelWriting();
    return fail(error, text);
}

bool remove(const QString& path, QString* error)
{
    QFile file(path);
    return file.remove() || fail(error, fileErrorText(file));
}


// The system's own access rules apply here.
int privateFileMode()
{
    return 0600;
}

int privateFolderMode()
{
    return 0700;
}

bool makeFolders(const QString& folder)
{
    return QDir().mkpath(folder);
}

#endif

} // namespace files

// ---- DataFile -----------------------------------------------------------------------

DataFile::DataFile(const QString& path) : m_path(path) {}

DataFile::~DataFile() = default;

QString DataFile::errorText() const
{
    return m_openError.isEmpty() ? fileErrorText(*this) : m_openError;
}

bool DataFile::open(OpenMode mode)
{
    m_openError.clear();
    // As QFile does: writing alone starts the file afresh.
    if ((mode & ReadWrite) == WriteOnly && !(mode & (Append | NewOnly)))
        mode |= Truncate;
#ifdef Q_OS_UNIX
    const bool writing = mode & WriteOnly;
    const files::Op op = writing ? files::Op::Write : files::Op::Read;
    struct stat st;
    bool exists = false;
    const QByteArray name = files::diskName(m_path, &exists, &st);
    if (exists) {
        if (mode & NewOnly) {
            m_openError = files::errorText(op, EEXIST, m_path);
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            m_openError = files::notRegularText(m_path);
            return false;
        }
    }
    // Non-blocking, so that a pipe put in place since the look above cannot make the
    // open wait; the flag means nothing to a regular file.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    flags |= (mode & ReadWrite) == ReadWrite ? O_RDWR : writing ? O_WRONLY : O_RDONLY;
    if (writing && !(mode & ExistingOnly))
        flags |= O_CREAT;
    if (mode & NewOnly)
        flags |= O_CREAT | O_EXCL;
    const int fd = ::open(name.constData(), flags, mode_t(files::privateFileMode()));
    if (fd < 0) {
        m_openError = files::errorText(op, errno, m_path);
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        m_openError = files::notRegularText(m_path);
        return false;
    }
    if ((mode & Truncate) && ::ftruncate(fd, 0) != 0) {
        m_openError = files::errorText(op, errno, m_path);
        ::close(fd);
        return false;
    }
    if (!QFile::open(fd, mode & ~(Truncate | NewOnly | ExistingOnly), AutoCloseHandle)) {
        ::close(fd);
        m_openError = files::errorText(op, EIO, m_path);
        return false;
    }
    return true;
#else
    const QFileInfo info(m_path);
    if (info.exists() && !info.isFile()) {
        m_openError = files::notRegularText(m_path);
        return false;
    }
    setFileName(m_path);
    if (!QFile::open(mode)) {
        m_openError = fileErrorText(*this);
        return false;
    }
    return true;
#endif
}

// ---- FolderLock ---------------------------------------------------------------------

FolderLock::FolderLock(const QString& dataDir)
    : m_lock(std::make_unique<QLockFile>(lockFileName(dataDir)))
{
    // Saving takes a moment; an older lock was left by a program that crashed.
    m_lock->setStaleLockTime(std::chrono::seconds(30));
}

FolderLock::~FolderLock()
{
    release();
}

QString FolderLock::lockFileName(const QString& dataDir)
{
    QString dir = dataDir.isEmpty() ? QStringLiteral("./") : dataDir;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    return dir + QStringLiteral(".gripsfix.lock");
}

bool FolderLock::acquire(std::chrono::milliseconds wait)
{
    if (m_held)
        return true;
    if (m_lock->tryLock(wait)) {
        m_held = true;
        return true;
    }
    return m_lock->error() != QLockFile::LockFailedError;
}

void FolderLock::release()
{
    if (m_held)
        m_lock->unlock();
    m_held = false;
}

} // namespace gf
