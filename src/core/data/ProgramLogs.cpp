// The monthly logs: saving a session's records, and the record readers and writers.

#include "core/data/BinaryIO.h"
#include "core/data/FileFormats.h"
#include "core/data/ProgramData.h"
#include "sys/DataFiles.h"

namespace gf {

namespace ff = fileformat;

bool tProgramData::IsEarlierMonth(const SerialDate& d) const
{
    CivilTime t;
    if (!d.toCivil(t))
        return true; // no usable date: start a fresh log
    const QDate s = SessionStart.date();
    return t.year * 12 + t.month < s.year() * 12 + s.month();
}

QString tProgramData::newLogName(tUser& user, ExerciseKind kind)
{
    QString name = ResultFileName(kindTag(kind));
    if (name.isEmpty())
        return {};
    QStringList& files = user.Files(kind);
    // A log of this detective under that name (the clock went back and forth) keeps
    // its records and is continued. Any other file that exists is never emptied: it
    // may be a summary given the month name at registration, or a log this record
    // does not know; the new log then gets the next free number.
    const QString stem = name.chopped(4);
    for (int n = 2;; ++n) {
        if (name == user.Logs[logIndex(kind)].FileName || files.contains(name))
            return name;
        if (!files::exists(name))
            break;
        name = stem + u'_' + QString::number(n) + QStringLiteral(".dat");
    }
    DataFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return {};
    file.close();
    files.append(name);
    return name;
}

bool tProgramData::SaveSessionResults(tUser& user)
{
    if (!SessionListsCreated)
        return false;
    // Two programs saving one detective would interleave their records.
    const FolderGuard lock(*this);
    if (!lock.held())
        return false;
    const qsizetype sizes[4] = {TelStatList.size(), MemoStatList.size(), WortStatList.size(),
                                BildStatList.size()};
    for (ExerciseKind k : AllExerciseKinds) {
        if (m_saved[logIndex(k)] >= sizes[int(k)])
            continue;
        tEntry& e = user.Logs[logIndex(k)];
        if (e.FileName.isEmpty() || IsEarlierMonth(e.LastDate)) {
            const QString name = newLogName(user, k);
            if (name.isEmpty())
                return false;
            e.FileName = name;
        }
        e.LastDate = SerialDate::fromDateTime(SessionStart);
        DataFile file(e.FileName);
        // Unbuffered, so a failed write cannot be completed later by a flush.
        if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered) || !file.seek(file.size()))
            return false;
        for (qsizetype i = m_saved[logIndex(k)]; i < sizes[int(k)]; ++i) {
            bool ok = false;
            switch (k) {
            case ExerciseKind::Tel:
                ok = AppendTelStat(user, file, TelStatList[i]);
                break;
            case ExerciseKind::Memo:
                ok = AppendMemoStat(user, file, MemoStatList[i]);
                break;
            case ExerciseKind::Wort:
                ok = AppendWortStat(user, file, WortStatList[i]);
                break;
            default:
                ok = AppendBildStat(user, file, BildStatList[i]);
                break;
            }
            if (!ok)
                return false;
            m_saved[logIndex(k)] = int(i + 1);
        }
    }
    return SaveSummaries(user);
}

namespace {
// A failed write is cut back so the log never ends inside a record.
bool appendRecord(QFile& file, const QByteArray& bytes)
{
    const qint64 start = file.size();
    if (!file.seek(start) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.resize(start);
        return false;
    }
    return true;
}
} // namespace

bool tProgramData::AppendTelStat(tUser&, QFile& file, const tTeleStat& r)
{
    QByteArray bytes;
    bytes.reserve(ff::TelRecordSize);
    ff::encodeTel(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldTelStat(r);
    return true;
}

bool tProgramData::AppendMemoStat(tUser&, QFile& file, const tBmpSndStat& r)
{
    QByteArray bytes;
    bytes.reserve(ff::MemoRecordSize);
    ff::encodeMemo(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldMemoStat(r);
    return true;
}

bool tProgramData::AppendWortStat(tUser&, QFile& file, const tWortKatStat& r)
{
    QByteArray bytes;
    ff::encodeKat(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldWortStat(r);
    return true;
}

bool tProgramData::AppendBildStat(tUser&, QFile& file, const tBmpKatStat& r)
{
    QByteArray bytes;
    ff::encodeKat(r, bytes);
    if (!appendRecord(file, bytes))
        return false;
    FoldBildStat(r);
    return true;
}

} // namespace gf
