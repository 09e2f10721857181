#pragma once

// Helpers shared by the data tests: a message sink that records, a clock that stands
// still, a temporary data folder, and an independent little-endian builder for
// expected file bytes.

#include "core/data/MessageSink.h"
#include "core/data/ProgramData.h"
#include "core/data/ResultWalk.h"
#include "core/data/Timing.h"
#include "support/Recording.h"
#include "sys/DataFiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <array>
#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>

namespace gf::test {

// Builds bytes field by field from the layout tables, independent of the writers.
struct Bytes
{
    QByteArray b;
    Bytes& u8(int v)
    {
        b.append(char(v));
        return *this;
    }
    Bytes& u16(int v)
    {
        b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& i32(qint32 v)
    {
        for (int i = 0; i < 4; ++i)
            b.append(char((quint32(v) >> (8 * i)) & 0xFF));
        return *this;
    }
    Bytes& f64(double v)
    {
        quint64 u;
        std::memcpy(&u, &v, 8);
        for (int i = 0; i < 8; ++i)
            b.append(char((u >> (8 * i)) & 0xFF));
        return *this;
    }
    // 256-byte slot of Latin-1 text (the test texts keep to Latin-1).
    Bytes& slot(const QString& s)
    {
        const QByteArray t = s.toLatin1();
        b.append(char(t.size())).append(t).append(255 - t.size(), '\0');
        return *this;
    }
};

// Days since 30.12.1899 for a date and time, computed from the calendar.
inline double serial(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d))) +
           (hh * 3600 + mm * 60 + ss) / 86400.0;
}

// A summary without values: the date, then (best, mean, count) per mode or
// (mean, count) per level.
inline QByteArray emptySummary(double date, bool perMode)
{
    Bytes b;
    b.f64(date);
    for (int i = 0; i < (perMode ? 3 : 4); ++i) {
        if (perMode)
            b.i32(-999);
        b.f64(-999.0).f64(0);
    }
    return b.b;
}

// A telephone or memo record: its mode and best length, and from `level` up the tasks
// and right answers per length.
template <typename Stat>
Stat seqStat(int mode, int bestSpan, int level, const QList<std::pair<int, int>>& tasksRight = {},
             int taskCount = 0)
{
    Stat r;
    r.Mode = quint16(mode);
    r.BestSpan = bestSpan;
    r.TaskCount = quint16(taskCount);
    r.MinLevel = quint16(level);
    r.MaxLevel = quint16(level + std::max<int>(int(tasksRight.size()), 1) - 1);
    for (int i = 0; i < tasksRight.size(); ++i) {
        r.Trials[level + i] = quint16(tasksRight[i].first);
        r.Correct[level + i] = quint16(tasksRight[i].second);
    }
    return r;
}

// A word-search record of a log: the date, then asked and right per level.
inline QByteArray wordRecord(double stamp, std::array<int, 4> asked, std::array<int, 4> right)
{
    Bytes b;
    b.u16(2).f64(stamp);
    for (int l = 0; l < 4; ++l)
        b.u16(asked[l]).u16(right[l]);
    return b.b;
}

// Makes writes beyond `bytes` in any file fail for the life of the object, so a
// test can see what a full disk does.
struct FileSizeLimit
{
    rlimit old{};
    explicit FileSizeLimit(rlim_t bytes)
    {
        signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lim = old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
};

// An emptied temporary data folder with a sink and a clock at 5.3.2004 10:15:30.
struct DataFolder
{
    QTemporaryDir tmp;
    RecordingSink sink;
    FixedClock clock{QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30))};

    void reset()
    {
        // Qt's folder removal cannot see names in Windows-1252.
        for (const QString& name : files::entries(tmp.path()))
            files::remove(path(name), nullptr);
        sink.entries.clear();
        clock.moment = QDateTime(QDate(2004, 3, 5), QTime(10, 15, 30));
        QDir(tmp.path()).removeRecursively();
        QDir().mkpath(tmp.path());
    }
    QString path(const QString& name) const { return tmp.filePath(name); }
    std::unique_ptr<gf::tProgramData> fresh()
    {
        auto d = std::make_unique<gf::tProgramData>(&sink, &clock);
        d->setDataDir(tmp.path());
        d->SessionStart = clock.moment;
        return d;
    }
    // A registered, opened detective with empty session lists, or null.
    std::unique_ptr<gf::tProgramData> registered(const QString& name = QStringLiteral("Anna"))
    {
        auto d = fresh();
        if (!d->registerUser(name, 1))
            return nullptr;
        d->UserName = name;
        if (!d->openUser())
            return nullptr;
        d->createSessionLists();
        return d;
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
    qint64 size(const QString& name) const { return QFileInfo(path(name)).size(); }
    QStringList files() const { return QDir(tmp.path()).entryList(QDir::Files, QDir::Name); }
};

// The built data tool as a therapist runs it: exit status (-1 when it does not finish,
// -2 when it crashes), standard output and standard error.
struct ToolRun
{
    int status;
    QByteArray out;
    QString err;
};
inline ToolRun runDataTool(const QStringList& args, const QString& outFile = {})
{
    QProcess p;
    if (!outFile.isEmpty())
        p.setStandardOutputFile(outFile);
    p.start(qEnvironmentVariable("GF_INSTALL_DIR") + "/gripsfix-data", args);
    if (!p.waitForFinished(60000))
        return {-1, {}, "did not finish"};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, p.readAllStandardOutput(),
            QString::fromUtf8(p.readAllStandardError())};
}

// The records a walk visits, kind by kind, and the logs it could not read.
struct WalkedRecords final : RecordLists
{
    QList<DamagedLog> Damaged;
};

// The program's walk (stored logs, then the session not saved yet) over each kind.
inline WalkedRecords walkResults(const tProgramData& d, const tUser& user, const DayRange& days,
                                 const QList<ExerciseKind>& kinds)
{
    WalkedRecords out;
    for (ExerciseKind kind : kinds)
        d.walkResults(user, kind, days, out, out.Damaged);
    return out;
}

// Every stored record of the user, as a fresh program or the data tool reads them.
inline WalkedRecords storedRecords(const tUser& user)
{
    WalkedRecords out;
    for (ExerciseKind kind : {ExerciseKind::Tel, ExerciseKind::Memo, ExerciseKind::Wort, ExerciseKind::Bild})
        walkStoredResults(user, kind, {}, out, out.Damaged);
    return out;
}

} // namespace gf::test
