#pragma once

#include "core/data/FileFormats.h"
#include "core/data/Records.h"

#include <QByteArray>
#include <QDate>
#include <QMap>
#include <QString>

namespace gf {

// The running summary values of one work area, kept in one journal file beside the
// detective's user file together with how many records of each log they hold. One file
// is replaced in one step, so values and counts always agree; the four summary files are
// written from them afterwards. A save interrupted at any step is thus completed at the
// next start without folding a record twice or not at all.
struct tLedger
{
    fileformat::SeqSummary seq; // telephone and memo
    fileformat::KatSummary kat; // word and picture search
    // The values as they stood before the first record of snapDay: what "früher" shows
    // on that day.
    fileformat::SeqSummary seqBefore;
    fileformat::KatSummary katBefore;
    QDate snapDay;
    QMap<QString, qint64> folded; // log (last name component) -> records folded
    // New logs a save is about to write before the user file lists them.
    QStringList pending;
};

struct tJournal
{
    RangeArray<tLedger, 1, 4> ledgers; // indexed by logIndex

    tLedger& operator[](ExerciseKind k) { return ledgers[logIndex(k)]; }
    const tLedger& operator[](ExerciseKind k) const { return ledgers[logIndex(k)]; }

    QByteArray toBytes() const;
    // False for anything that is not a whole journal.
    static bool fromBytes(const QByteArray& bytes, tJournal& out);
};

// Summary values with nothing in them.
fileformat::SeqSummary emptySeqSummary();
fileformat::KatSummary emptyKatSummary();

// Folding one record into running values: best length and mean secure length per mode,
// mean percent right per level.
void foldRecord(fileformat::SeqSummary& s, const tTeleStat& r);
void foldRecord(fileformat::SeqSummary& s, const tBmpSndStat& r);
void foldRecord(fileformat::KatSummary& s, const tWortKatStat& r);

// Folds a record into a ledger and keeps its day snapshot: a record of a later day
// than snapDay starts that day (the values so far become "before"); a record of an
// earlier day belongs to "before" as well.
void foldIntoLedger(tLedger& l, ExerciseKind kind, const tTeleStat& r);
void foldIntoLedger(tLedger& l, ExerciseKind kind, const tBmpSndStat& r);
void foldIntoLedger(tLedger& l, ExerciseKind kind, const tWortKatStat& r);

// The values to show as "früher" on day: those before day's first record.
fileformat::SeqSummary seqEarlier(const tLedger& l, const QDate& day);
fileformat::KatSummary katEarlier(const tLedger& l, const QDate& day);

} // namespace gf
