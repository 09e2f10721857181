#pragma once

#include "core/data/Records.h"
#include "core/data/ResultWalk.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QFile;
class QIODevice;

namespace gf {

class MessageSink;
class Clock;
class FolderLock;
class LoginLock;
struct tJournal;

// Export choices of the export dialog's "Statistik für:" group.
enum ExportKind : int
{
    ekWortBild = 0,
    ekTelMemo = 1
};

// The data model of one program run: the detective in use, his session results and
// summaries, and every file that holds them. The program makes one; tests make fresh
// ones. Messages go to the sink given (none: silent).
class tProgramData
{
public:
    explicit tProgramData(MessageSink* sink = nullptr, Clock* clock = nullptr);
    ~tProgramData();
    tProgramData(const tProgramData&) = delete;
    tProgramData& operator=(const tProgramData&) = delete;

    MessageSink* sink() const { return m_sink; }
    void setSink(MessageSink* sink) { m_sink = sink; }
    Clock& clock() const;

    // ---- users ----------------------------------------------------------------
    QString DataDir = QStringLiteral("Daten/"); // always ends with "/"
    QString UserName = QStringLiteral("-");     // "-": no detective selected
    QString UserFileName;                       // DataDir + UserName + ".mnu"
    QList<std::shared_ptr<tUser>> UserList;
    std::shared_ptr<tUser> CurrentUser; // stays valid when UserList is replaced
    bool DataDirReadOnly = false;
    QDateTime SessionStart; // filed under its month

    // Sets DataDir, adding the trailing "/" when missing.
    void setDataDir(const QString& folder);

    bool LoadUserFile();
    bool SaveUserFile();
    bool CreateUserFile();
    std::shared_ptr<tUser> FindUser(const QString& name) const;

    // Registration without the input box: trims, checks the name, refuses a detective
    // who exists, creates the user file, the record and the four summary files.
    // Every refusal is reported through the sink. On success the record is in UserList
    // (CurrentUser is not changed: a registered detective is logged in separately).
    // Holds the data folder's lock, so of two programs registering one name, one does.
    // Never replaces a file, and on failure removes only the files it created.
    bool registerUser(const QString& typedName, quint16 slot);
    // Opens the detective UserName: loads his user file and makes his record current.
    bool openUser();
    // Deletes n's summary and log files and, last, his user file (so that a delete that
    // failed half-way can be repeated), and no one else's.
    bool deleteUser(const QString& name);
    // The detective names of DataDir: every "*.mnu" in any case without that ending,
    // sorted; names stored in Windows-1252 are found too.
    QStringList listUsers() const;
    // The same, one entry per user file: a Windows-1252 file whose name a UTF-8 one
    // also has is listed with Cp1252Suffix.
    QStringList listUserSpellings() const;
    static constexpr const char16_t* Cp1252Suffix = u" (Windows-1252)";
    // The stored record of name as it is on disk: nothing is repaired, locked or written,
    // so a survey of the folder does not touch a detective who is training. False with
    // the reason in error when the user file cannot be read.
    bool readStoredUser(const QString& name, tUser& out, QString* error) const;
    // True when DataDir holds the user file of name (its ending in any case).
    bool userFileExists(const QString& name) const;

    // The reason a name cannot be registered, empty when it can. The name is taken as
    // given (trim it first).
    static QString checkNewUserName(const QString& name);
    // True when name + suffix stays a plain file name inside the data folder.
    static bool isSafeFileStem(const QString& name);

    // ---- sessions and summaries -------------------------------------------------
    bool SessionListsCreated = false;
    QList<tTeleStat> TelStatList;
    QList<tBmpSndStat> MemoStatList;
    QList<tWortKatStat> WortStatList;
    QList<tBmpKatStat> BildStatList;
    // Empties the four session lists and marks them created (the after-login step).
    void createSessionLists();

    RangeArray<qint32, 1, 3> TelBest{};
    RangeArray<double, 1, 3> TelAvg{};
    RangeArray<double, 1, 3> TelCount{};
    RangeArray<qint32, 1, 3> MemoBest{};
    RangeArray<double, 1, 3> MemoAvg{};
    RangeArray<double, 1, 3> MemoCount{};
    RangeArray<double, 1, 4> WortAvg{};
    RangeArray<double, 1, 4> WortCount{};
    RangeArray<double, 1, 4> BildAvg{};
    RangeArray<double, 1, 4> BildCount{};
    // Derived by the main window after login.
    double TelTotal = 0;
    double MemoTotal = 0;
    double WortTotal = 0;
    double BildTotal = 0;

    // Every best value, mean and count to "no value".
    void resetSummaries();

    bool SetupUserFiles(tUser& user);
    bool CreateSummaryFiles(tUser& user);
    bool LoadSummaries(tUser& user);
    bool SaveSummaries(tUser& user);

    void FoldTelStat(const tTeleStat& r);
    void FoldMemoStat(const tBmpSndStat& r);
    void FoldWortStat(const tWortKatStat& r);
    void FoldBildStat(const tBmpKatStat& r);

    // DataDir + UserName + tag + ".dat", or with MonthTag() when that exists already;
    // empty (after a message) when no detective is selected.
    QString ResultFileName(const QString& tag);
    // ResultFileName(tag), numbered ("_2", "_3", ...) when that name is taken too.
    QString freeResultFileName(const QString& tag);
    QString MonthTag() const; // "_04_03" for March 2004 of SessionStart
    static QString ZeroPad(int value, int width);

    // ---- storing ----------------------------------------------------------------
    enum class SaveOutcome
    {
        Saved,    // every record of the session is on disk
        Nothing,  // nobody logged in
        ReadOnly, // the data folder cannot be written: nothing is stored, as intended
        Failed,   // saveFailureText() says why; the records stay and are tried again
        Gone      // the detective was deleted from outside; nothing is stored
    };
    // Stores every record of the session lists not stored yet, under the folder's
    // lock, re-reading the user file from disk and repairing what an interrupted save
    // left. Says nothing: the caller asks the trainee what to do.
    SaveOutcome storeSession();
    // The German message for the last Failed or Gone.
    QString saveFailureText() const;
    // Completes what an interrupted save of the current detective left undone; called at
    // login (program and data tool).
    bool repairCurrent();
    // storeSession() with the failure reported through the sink; true when stored.
    bool SaveSessionResults(tUser& user);

    // One detective, one program. lockLogin marks name as logged in here before his
    // files are opened; commitLogin ends the previous detective's mark once the login
    // succeeded, abandonLogin drops the new one when it did not.
    enum class LoginOutcome
    {
        Taken,
        Held,  // loginMessage() names the detective
        Failed // loginMessage() says why
    };
    LoginOutcome lockLogin(const QString& name);
    void commitLogin();
    void abandonLogin();
    QString loginMessage() const { return m_saveError; }
    // False when the login mark is no longer this program's (taken over or deleted).
    bool refreshLogin();
    void releaseLogin();

    // The running values and day snapshots of the current detective; null before the
    // first repair or save.
    const tJournal* journal() const { return m_journal.get(); }

    // Append one record and fold it. The file must be open unbuffered: a write that
    // fails is cut back to the length before the record.
    bool AppendTelStat(tUser& user, QFile& file, const tTeleStat& r);
    bool AppendMemoStat(tUser& user, QFile& file, const tBmpSndStat& r);
    bool AppendWortStat(tUser& user, QFile& file, const tWortKatStat& r);
    bool AppendBildStat(tUser& user, QFile& file, const tBmpKatStat& r);

    // One record from the current position; false on a short or failed read.

    bool IsEarlierMonth(const SerialDate& d) const;

    // ---- results ----------------------------------------------------------------
    // Every record of one kind of user within days: the stored ones
    // (walkStoredResults), then, when user is CurrentUser, the session's records not
    // yet saved (those after savedCount(kind)). Damaged logs are listed in damaged and
    // skipped past; false when there was one.
    bool walkResults(const tUser& user, ExerciseKind kind, const DayRange& days, ResultVisitor& visit,
                     QList<DamagedLog>& damaged) const;

    // ---- export -----------------------------------------------------------------
    // The stored logs of the user and the unsaved session records (walkResults), as
    // tab-separated text. Dates are calendar days; both limits are included. A log that
    // cannot be read to its end fails the export, and every such log is named.
    bool ExportResults(const tUser& user, const QString& fileName, bool useFrom, bool useTo,
                       const QDate& fromDate, const QDate& toDate, int kind);
    // The same text into a byte array (the writer behind ExportResults). Records without
    // a calendar date keep empty date fields and are named in undated.
    bool exportResultsTo(QByteArray& out, const tUser& user, bool useFrom, bool useTo,
                         const QDate& fromDate, const QDate& toDate, int kind,
                         QStringList* undated = nullptr);
    // Why fileName must not receive an export (a file of the program's own: a user
    // file, summary or log in DataDir, or an item table), empty when it may.
    QString ownFileText(const QString& fileName) const;

    // Records of the session lists already written to the logs, per work area. A
    // second save, and the export, take only the records after them.
    int savedCount(ExerciseKind kind) const { return m_saved[logIndex(kind)]; }

    // The two contact lines of the "Benutzerinformationen" message.
    static QString supportContact();
    // The message shown when a user file cannot be used for login or registration.
    static QString userInfoUnavailableText();

private:
    // Holds the data folder's write lock for its scope; scopes inside it share it.
    class FolderGuard
    {
    public:
        // Quiet: a failure goes to the save error instead of the sink.
        explicit FolderGuard(tProgramData& data, bool quiet = false);
        ~FolderGuard();
        FolderGuard(const FolderGuard&) = delete;
        FolderGuard& operator=(const FolderGuard&) = delete;
        // False (after a message) when another program kept the folder locked.
        bool held() const { return m_held; }

    private:
        tProgramData& m_data;
        bool m_held = false;
    };

    QString userFilePath(const QString& name) const;
    QString journalPath() const;
    QString loginLockPath(const QString& name) const;
    bool readUserRecords(QList<std::shared_ptr<tUser>>& out, QString* error, bool* missing) const;
    bool readUserRecords(const QString& name, QList<std::shared_ptr<tUser>>& out, QString* error,
                         bool* missing) const;
    bool repairStored(tUser& user, const QList<std::shared_ptr<tUser>>& all, QString* error);
    void applyJournal();
    bool writeSummaryCopies(const tUser& user, QString* error);
    QString logNameFor(tUser& user, ExerciseKind kind,
                       const QList<std::shared_ptr<tUser>>& all) const;
    void relocateNames(tUser& user) const;
    bool pickSummaryNames(tUser& user);
    bool writeSummaryFiles(const tUser& user, bool createNew, QStringList* created = nullptr);
    void report(const QString& text, int kind, int helpContext = 0) const;
    void plain(const QString& text) const;

    MessageSink* m_sink = nullptr;
    Clock* m_clock = nullptr;
    RangeArray<int, 1, 4> m_saved{};
    std::unique_ptr<FolderLock> m_lock;
    int m_lockDepth = 0;
    std::unique_ptr<tJournal> m_journal;
    std::unique_ptr<LoginLock> m_loginLock;
    std::unique_ptr<LoginLock> m_nextLogin;
    QString m_saveError;
};

} // namespace gf
