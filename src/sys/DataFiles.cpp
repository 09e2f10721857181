#include "sys/DataFiles.h"

#include "sys/Cp1252.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QSysInfo>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QCoreApplication>
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

namespace {
TraceHook traceHook = nullptr;
void trace(const char* step, const QByteArray& name)
{
    if (traceHook)
        traceHook(step, name);
}
} // namespace

void setTraceHook(TraceHook hook)
{
    traceHook = hook;
}

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
int finish(int fd, const QByteArray& bytes, const QByteArray& name)
{
    int error = writeAll(fd, bytes);
    if (error == 0) {
        trace("fsync", name);
        if (::fsync(fd) != 0)
            error = errno;
    }
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

QByteArray folderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash >= 0 ? name.left(slash + 1) : QByteArrayLiteral("./");
}

// 0 or the error of forcing the folder's entries to disk.
int syncFolderBytes(const QByteArray& folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    trace("fsyncdir", folder);
    int error = 0;
    // Some file systems cannot sync a folder at all; that is no reason to fail a save.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    ::close(fd);
    return error;
}

} // namespace

bool syncFolder(const QString& dir, QString* error)
{
    QByteArray folder = QFile::encodeName(dir.isEmpty() ? QStringLiteral(".") : dir);
    if (const int e = syncFolderBytes(folder); e != 0)
        return fail(error, errorText(Op::Write, e, dir));
    return true;
}

bool appendDurable(const QString& path, const QByteArray& bytes, QString* error)
{
    bool found = false;
    struct stat st;
    const QByteArray name = diskName(path, &found, &st);
    if (found && !S_ISREG(st.st_mode))
        return fail(error, notRegularText(path));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                          mode_t(privateFileMode()));
    if (fd < 0)
        return fail(error, errorText(Op::Write, errno, path));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(error, notRegularText(path));
    }
    const off_t start = st.st_size;
    trace(found ? "append" : "create", name);
    int e = ::lseek(fd, start, SEEK_SET) < 0 ? errno : writeAll(fd, bytes);
    if (e == 0) {
        trace("fsync", name);
        if (::fsync(fd) != 0)
            e = errno;
    }
    if (e != 0) {
        // What did reach the file is taken back; a torn record would be read as damage.
        if (::ftruncate(fd, start) == 0)
            ::fsync(fd);
        ::close(fd);
        return fail(error, errorText(Op::Write, e, path));
    }
    if (::close(fd) != 0)
        return fail(error, errorText(Op::Write, errno, path));
    if (!found)
        if (const int d = syncFolderBytes(folderOf(name)); d != 0)
            return fail(error, errorText(Op::Write, d, path));
    return true;
}

int removeLeftoverTemps(const QString& dir)
{
    int removed = 0;
    const QByteArray folder = QFile::encodeName(dir.isEmpty() ? QStringLiteral("./") : dir);
    for (const QString& entry : entries(dir)) {
        if (!entry.startsWith(QStringLiteral(".gf-")))
            continue;
        const QByteArray name =
            folder + (folder.endsWith('/') ? "" : "/") + QFile::encodeName(entry);
        struct stat st;
        if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
            ::unlink(name.constData()) == 0)
            ++removed;
    }
    return removed;
}

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
    trace("create", name);
    int e = finish(fd, bytes, name);
    if (e == 0)
        e = syncFolderBytes(folderOf(name));
    if (e != 0) {
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
    trace("create", temp);
    int e = finish(fd, bytes, temp);
    if (e == 0) {
        trace("rename", target);
        if (::rename(temp.constData(), target.constData()) != 0)
            e = errno;
    }
    if (e != 0) {
        ::unlink(temp.constData());
        return fail(error, errorText(Op::Write, e, path));
    }
    // The new name itself must reach the disk, or a power cut brings the old file back.
    if (const int d = syncFolderBytes(folderOf(target)); d != 0)
        return fail(error, errorText(Op::Write, d, path));
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

bool syncFolder(const QString&, QString*)
{
    return true; // entries reach the disk with their files here
}

bool appendDurable(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return fail(error, fileErrorText(file));
    const qint64 start = file.size();
    if (!file.seek(start) || file.write(bytes) != bytes.size() || !file.flush()) {
        const QString text = fileErrorText(file);
        file.resize(start);
        return fail(error, text);
    }
    return true;
}

int removeLeftoverTemps(const QString& dir)
{
    int removed = 0;
    QDir folder(dir.isEmpty() ? QStringLiteral(".") : dir);
    for (const QString& entry :
         folder.entryList({QStringLiteral(".gf-*")}, QDir::Files | QDir::Hidden))
        removed += folder.remove(entry) ? 1 : 0;
    return removed;
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
    m_error.clear();
    if (m_held)
        return true;
    if (m_lock->tryLock(wait)) {
        m_held = true;
        return true;
    }
    if (m_lock->error() == QLockFile::LockFailedError)
        m_error = QStringLiteral("Der Datenordner wird gerade von einem anderen Grips-Fix-"
                                 "Programm benutzt.");
    else
        m_error = QStringLiteral("Im Datenordner kann nichts geschrieben werden (kein "
                                 "Zugriff, oder der Datenträger ist voll oder "
                                 "schreibgeschützt).");
    return false;
}

void FolderLock::release()
{
    if (m_held)
        m_lock->unlock();
    m_held = false;
}

// ---- LoginLock ----------------------------------------------------------------------

namespace {

struct LockContent
{
    QString host;
    qint64 pid = 0;
    QByteArray token;
};

LockContent parseLock(const QByteArray& bytes)
{
    LockContent c;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.startsWith("host="))
            c.host = QString::fromUtf8(line.mid(5));
        else if (line.startsWith("pid="))
            c.pid = line.mid(4).toLongLong();
        else if (line.startsWith("token="))
            c.token = line.mid(6);
    }
    return c;
}

QByteArray readSmall(const QString& path, bool* ok)
{
    DataFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.read(4096) : QByteArray();
}

bool processAlive(qint64 pid)
{
#ifdef Q_OS_UNIX
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#else
    return pid > 0; // no cheap test here; the age of the file decides
#endif
}

qint64 ownPid()
{
#ifdef Q_OS_UNIX
    return qint64(::getpid());
#else
    return QCoreApplication::applicationPid();
#endif
}

} // namespace

LoginLock::LoginLock(const QString& path) : m_path(path) {}

LoginLock::~LoginLock()
{
    release();
}

LoginLock::Result LoginLock::acquire()
{
    m_error.clear();
    m_holder.clear();
    if (m_held)
        return Result::Taken;
    const QString host = QSysInfo::machineHostName();
    m_token = QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    const QByteArray content = "gripsfix-login\nhost=" + host.toUtf8() +
                               "\npid=" + QByteArray::number(ownPid()) + "\ntoken=" + m_token +
                               "\n";
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool existed = false;
        QString error;
        if (files::createNew(m_path, content, &error, &existed)) {
            m_held = true;
            return Result::Taken;
        }
        if (!existed) {
            m_error = error;
            return Result::Failed;
        }
        bool ok = false;
        const LockContent other = parseLock(readSmall(m_path, &ok));
        if (!ok)
            continue; // gone in between: try again
        const QDateTime touched = QFileInfo(m_path).lastModified();
        const bool sameHost = other.host == host;
        const bool stale =
            sameHost ? !processAlive(other.pid) || other.pid == ownPid()
                     : !touched.isValid() ||
                           touched.secsTo(QDateTime::currentDateTime()) > StaleAfter.count();
        if (!stale) {
            m_holder = other.host;
            return Result::Held;
        }
        if (!files::remove(m_path, &error)) {
            m_error = error;
            return Result::Failed;
        }
    }
    m_error = QStringLiteral("Die Anmeldung kann nicht vermerkt werden (%1).")
                  .arg(QDir::toNativeSeparators(m_path));
    return Result::Failed;
}

bool LoginLock::stillOurs() const
{
    bool ok = false;
    const LockContent c = parseLock(readSmall(m_path, &ok));
    return ok && c.token == m_token;
}

bool LoginLock::refresh()
{
    if (!m_held)
        return false;
    if (!stillOurs()) {
        m_held = false;
        return false;
    }
    QFile file(m_path);
    if (file.open(QIODevice::ReadWrite))
        file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    return true;
}

void LoginLock::release()
{
    if (m_held && stillOurs())
        files::remove(m_path, nullptr);
    m_held = false;
}

} // namespace gf
