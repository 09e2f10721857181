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
