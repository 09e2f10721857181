#pragma once

#include "core/data/Records.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

namespace gf {

// Byte layouts of the user file, the summary files and the monthly logs. These are
// pure functions over bytes so that the loaders, the data tool and the fuzzers share
// them.
namespace fileformat {

constexpr int UserHeaderSize = 12;    // magic + record count
constexpr int UserRecordFixed = 2379; // a record without its file-list entries
constexpr int SeqSummarySize = 68;
constexpr int KatSummarySize = 72;
constexpr int TelRecordSize = 700;
constexpr int MemoRecordSize = 1624;
constexpr int KatRecordSize = 26;
constexpr int TelCopies = 13;
constexpr int MemoCopies = 20;
// Larger user files are refused unread; a real one holds one record of a few KiB.
constexpr qint64 MaxUserFileSize = 64 * 1024 * 1024;

QByteArray userMagic(); // the byte 9, then "Grips-Fix"

enum class ReadResult
{
    Ok,
    BadMagic,
    Truncated
};

// Decodes the records of a user file. On Truncated, out holds the records that were
// complete before the damage.
ReadResult readUserFile(const QByteArray& bytes, QList<std::shared_ptr<tUser>>& out);
// The whole file; strings longer than their slot are cut. Paths that do not fit their
// slot are stored by their last component, which the loader resolves in the data folder.
QByteArray writeUserFile(const QList<std::shared_ptr<tUser>>& users);

struct SeqSummary
{
    RangeArray<qint32, 1, 3> Best{};
    RangeArray<double, 1, 3> Avg{};
    RangeArray<double, 1, 3> Count{};
};
struct KatSummary
{
    RangeArray<double, 1, 4> Avg{};
    RangeArray<double, 1, 4> Count{};
};
// The leading date of writing is skipped; bytes after the values are ignored.
bool readSeqSummary(const QByteArray& bytes, SeqSummary& out);
bool readKatSummary(const QByteArray& bytes, KatSummary& out);
QByteArray writeSeqSummary(const SerialDate& written, const SeqSummary& s);
QByteArray writeKatSummary(const SerialDate& written, const KatSummary& s);

void encodeTel(const tTeleStat& r, QByteArray& out);
void encodeMemo(const tBmpSndStat& r, QByteArray& out);
void encodeKat(const tWortKatStat& r, QByteArray& out);
// Each decoder takes exactly the record size in bytes.
void decodeTel(const char* bytes, tTeleStat& r);
void decodeMemo(const char* bytes, tBmpSndStat& r);
void decodeKat(const char* bytes, tWortKatStat& r);

} // namespace fileformat
} // namespace gf
