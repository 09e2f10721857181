#pragma once

#include "core/data/Records.h"

#include <QDate>
#include <QList>
#include <QString>

namespace gf {

// Calendar days of a walk over results, both limit days included; an invalid date sets
// no limit. A record whose stamp has no calendar date is inside only when no limit is set.
struct DayRange
{
    QDate first;
    QDate last;

    bool contains(const SerialDate& stamp) const;
    // Why the range holds no day at all (its first day after its last), empty otherwise.
    QString orderError() const;
};

// A stored log that could not be read to its end.
struct DamagedLog
{
    QString fileName;
    QString reason; // German, naming the file
};

// Receives the records of a walk, one call per record, in walking order.
class ResultVisitor
{
public:
    virtual ~ResultVisitor() = default;
    virtual void tel(const tTeleStat&) {}
    virtual void memo(const tBmpSndStat&) {}
    virtual void wort(const tWortKatStat&) {}
    virtual void bild(const tBmpKatStat&) {}
    // A record whose stamp no calendar holds (record counts from 1; log is empty for a
    // record not saved yet). It is visited as well only when the walk sets no limit.
    virtual void undated(ExerciseKind, const QString& log, qint64 record)
    {
        Q_UNUSED(log);
        Q_UNUSED(record);
    }
};

// "Datensatz 3 in /daten/AnnaWS.dat hat kein gültiges Datum."
QString undatedText(const QString& log, qint64 record);

// Keeps every record of a walk, kind by kind, in walking order.
struct RecordLists : ResultVisitor
{
    QList<tTeleStat> Tel;
    QList<tBmpSndStat> Memo;
    QList<tWortKatStat> Wort;
    QList<tBmpKatStat> Bild;

    void tel(const tTeleStat& r) override { Tel.append(r); }
    void memo(const tBmpSndStat& r) override { Memo.append(r); }
    void wort(const tWortKatStat& r) override { Wort.append(r); }
    void bild(const tBmpKatStat& r) override { Bild.append(r); }
};

// Counts the records a walk visits.
struct RecordCounter : ResultVisitor
{
    qint64 records = 0;
    void tel(const tTeleStat&) override { ++records; }
    void memo(const tBmpSndStat&) override { ++records; }
    void wort(const tWortKatStat&) override { ++records; }
    void bild(const tBmpKatStat&) override { ++records; }
};

// Every stored record of one kind  of a detective: his logs of that kind
// in list order, each in file order, within days. A log that cannot be opened or ends
// inside a record is added to damaged, after its whole records have been visited, and
// the walk goes on with the next log. False when a log was damaged.
bool walkStoredResults(const tUser& user, ExerciseKind kind, const DayRange& days, ResultVisitor& visit,
                       QList<DamagedLog>& damaged);

} // namespace gf
