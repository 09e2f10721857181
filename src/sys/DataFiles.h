#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class QFileDevice;
class QLockFile;

namespace gf {

// Every file access of the data layer goes through here, so that each one
// - opens regular files only: a pipe or a device under a data file's name would hang
//   the program or feed it without end;
// - names the real cause of a failure (a read-only or full disk is not "not found");
// - finds names stored in Windows-1252 rather than UTF-8, as a data folder copied from
//   Windows may hold them.
// The text of the last error of a file, in German, naming the file.
QString fileErrorText(const QFileDevice& file);

namespace files {

// The last component of a stored name, split on "/" and "\".
QString lastComponent(const QString& path);
// Where a stored name lives: the data folder (ending in "/") + its last component.
// Empty when that component is empty, "." or "..".
QString inFolder(const QString& dataDir, const QString& storedName);

// True when any entry of that name exists (also a pipe, a folder or a broken link).
bool exists(const QString& path);
// The entries of a folder that are not folders, by name; a name that is not UTF-8 is
// read as Windows-1252.
QStringList entries(const QString& dir);
struct Entry
{
    QString name;
    bool cp1252 = false; // the name on disk is Windows-1252, not UTF-8
};
QList<Entry> entryList(const QString& dir);

// Which spelling of a name on disk is taken when both exist ("Jürgen.mnu" in UTF-8 and
// in Windows-1252 are two files). UTF-8 unless a command asks for the other one.
void preferCp1252(bool prefer);
bool prefersCp1252();
// True when the last component of path exists in both spellings.
bool hasTwoSpellings(const QString& path);

// Writes a file that must not exist yet. existed (when given) tells that it did.
bool createNew(const QString& path, const QByteArray& bytes, QString* error,
               bool* existed = nullptr);
// Replaces a whole regular file through a temporary one: on failure the old file
// stays and error says why.
bool replace(const QString& path, const QByteArray& bytes, QString* error);
bool remove(const QString& path, QString* error);

// Appends bytes to a regular file (made when missing) and forces them to disk, and the
// folder too when the file is new: a record the trainee has seen must survive a power
// cut. A write that fails is cut back, so the file never ends inside the bytes.
bool appendDurable(const QString& path, const QByteArray& bytes, QString* error);
// Forces a folder's entries (new names, renames) to disk.
bool syncFolder(const QString& dir, QString* error);
// Removes what an interrupted replace left behind in dir; only safe while the
// folder's write lock is held, since every replace in a data folder happens under it.
int removeLeftoverTemps(const QString& dir);

// Every step that makes data durable, in order, for tests that check the order:
// "append", "create", "fsync", "rename", "fsyncdir", with the name on disk.
using TraceHook = void (*)(const char* step, const QByteArray& name);
void setTraceHook(TraceHook hook);

enum class Op
{
    Read,
    Write,
    Remove
};
// Why an operation on path failed with the system error number, in German.
QString errorText(Op op, int systemError, const QString& path);
// The cause alone ("der Datenträger ist voll"), for texts that name no file.
QString causeText(int systemError);
// The refusal of anything but a regular file.
QString notRegularText(const QString& path);

// Results are health data: what the program creates is closed to other users. The
// group keeps access where the umask grants it group write (a shared clinic group).
int privateFileMode();   // 0600 or 0660
int privateFolderMode(); // 0700 or 0770
// Creates folder and any missing folders above it with privateFolderMode().
bool makeFolders(const QString& folder);

} // namespace files

// A regular file of the data folder. fileName() is the name given, also when the file
// on disk carries it in Windows-1252.
class DataFile : public QFile
{
public:
    explicit DataFile(const QString& path);
    ~DataFile() override;

    // ReadOnly, ReadWrite or WriteOnly; writing creates a missing file unless
    // ExistingOnly is given, NewOnly insists on creating it, Truncate empties it.
    // Refuses anything but a regular file.
    bool open(OpenMode mode) override;
    QString fileName() const override { return m_path; }

    // Why the last open, read or write failed: German, naming the file.
    QString errorText() const;

private:
    QString m_path;
    QString m_openError;
};

// The write lock of a data folder, shared by every program that uses the folder: a
// lock file that a crashed program's successor takes over after a while.
class FolderLock
{
public:
    explicit FolderLock(const QString& dataDir);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    static QString lockFileName(const QString& dataDir);

    // Waits up to wait for the lock. False when another program holds it all that
    // time, and whenever the lock file cannot be made (a read-only or full disk): no
    // save runs unlocked. errorText() then tells which.
    bool acquire(std::chrono::milliseconds wait);
    void release();
    QString errorText() const { return m_error; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_held = false;
    QString m_error;
};

// One detective, one program: a file beside the detective's user file naming the
// computer and process that has him logged in. Refreshed while he stays logged in; it
// is stale when its process is gone (this computer) or when nobody refreshed it for
// StaleAfter (another computer sharing the folder). Take it while holding the
// folder's write lock, so that two programs cannot both take over a stale one.
class LoginLock
{
public:
    static constexpr std::chrono::seconds StaleAfter{60};
    static constexpr std::chrono::seconds RefreshEvery{5};

    explicit LoginLock(const QString& path);
    ~LoginLock();
    LoginLock(const LoginLock&) = delete;
    LoginLock& operator=(const LoginLock&) = delete;

    enum class Result
    {
        Taken,
        Held,  // by a live program; holder() names its computer
        Failed // errorText() says why
    };
    Result acquire();
    // Marks the lock as alive; false when the file is no longer this program's (it was
    // removed or taken over).
    bool refresh();
    // Removes the file if it is still this program's.
    void release();
    bool held() const { return m_held; }
    QString holder() const { return m_holder; }
    QString errorText() const { return m_error; }
    QString path() const { return m_path; }

private:
    bool stillOurs() const;

    QString m_path;
    QByteArray m_token;
    QString m_holder;
    QString m_error;
    bool m_held = false;
};

} // namespace gf
