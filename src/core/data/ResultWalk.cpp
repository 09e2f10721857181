// Reading results back: every record of one kind of a detective, stored and unsaved.

#include "core/data/ResultWalk.h"

#include "core/data/FileFormats.h"
#include "core/data/Formats.h"
#include "core/data/ProgramData.h"
#include "sys/DataFiles.h"

#include <QDir>

namespace gf {

namespace ff = fileformat;

namespace {

int dayKey(int year, int month, int day)
{
    return year * 10000 + month * 100 + day;
}

// The range as two day keys, worked out once per walk.
struct DayKeys
{
    bool limited;
    bool useFirst, useLast;
    int first, last;

    explicit DayKeys(const DayRange& r)
        : limited(r.first.isValid() || r.last.isValid()), useFirst(r.first.isValid()),
          useLast(r.last.isValid()),
          first(useFirst ? dayKey(r.first.year(), r.first.month(), r.first.day()) : 0),
          last(useLast ? dayKey(r.last.year(), r.last.month(), r.last.day()) : 0)
    {
    }
    bool contains(const SerialDate& stamp) const
    {
        CivilTime t;
        return contains(stamp, t);
    }
    // t is the stamp's calendar time; dated tells whether it has one.
    bool contains(const SerialDate& stamp, CivilTime& t, bool* dated = nullptr) const
    {
        const bool ok = stamp.toCivil(t);
        if (dated)
            *dated = ok;
        if (!limited)
            return true;
        if (!ok)
            return false;
        const int day = dayKey(t.year, t.month, t.day);
        return !(useFirst && day < first) && !(useLast && last < day);
    }
};

template <typename Record>
void visitRecord(const Record& r, ExerciseKind kind, const QString& log, qint64 index,
                 const DayKeys& days, ResultVisitor& visit,
                 void (ResultVisitor::*onRecord)(const Record&))
{
    CivilTime t;
    bool dated = false;
    const bool inside = days.contains(r.Stamp, t, &dated);
    if (!dated)
        visit.undated(kind, log, index + 1);
    if (inside)
        (visit.*onRecord)(r);
}

template <typename Record>
bool walkLogs(const QStringList& logs, ExerciseKind kind, qint64 size,
              void (*decode)(const char*, Record&), const DayKeys& days, ResultVisitor& visit,
              void (ResultVisitor::*onRecord)(const Record&), QList<DamagedLog>& damaged)
{
    bool whole = true;
    QByteArray block(size * 256, Qt::Uninitialized);
    Record r;
    for (const QString& name : logs) {
        DataFile file(name);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            damaged.append({name, file.errorText()});
            whole = false;
            continue;
        }
        qint64 index = 0;
        for (;;) {
            // A regular file reads short only at its end.
            const qint64 got = file.read(block.data(), block.size());
            if (got < 0) {
                damaged.append({name, file.errorText()});
                whole = false;
                break;
            }
            const qint64 records = got / size;
            for (qint64 i = 0; i < records; ++i) {
                decode(block.constData() + i * size, r);
                visitRecord(r, kind, name, index + i, days, visit, onRecord);
            }
            index += records;
            if (got % size != 0) {
                damaged.append({name, QStringLiteral("Die Ergebnisdatei %1 ist beschädigt "
                                                     "(Datensatz %2 ist unvollständig).")
                                          .arg(QDir::toNativeSeparators(name))
                                          .arg(index + 1)});
                whole = false;
                break;
            }
            if (got < block.size())
                break;
        }
    }
    return whole;
}

void decodeBild(const char* bytes, tBmpKatStat& r)
{
    ff::decodeKat(bytes, r);
}

template <typename Record>
void walkList(const QList<Record>& list, ExerciseKind kind, qsizetype from, const DayKeys& days,
              ResultVisitor& visit, void (ResultVisitor::*onRecord)(const Record&))
{
    for (qsizetype i = from; i < list.size(); ++i)
        visitRecord(list[i], kind, QString(), i - from, days, visit, onRecord);
}

} // namespace

bool DayRange::contains(const SerialDate& stamp) const
{
    return DayKeys(*this).contains(stamp);
}

QString undatedText(const QString& log, qint64 record)
{
    return (log.isEmpty() ? QStringLiteral("Datensatz %1 der noch nicht gespeicherten Ergebnisse")
                                .arg(record)
                          : QStringLiteral("Datensatz %1 in %2")
                                .arg(record)
                                .arg(QDir::toNativeSeparators(log))) +
           QStringLiteral(" hat kein gültiges Datum.");
}

QString DayRange::orderError() const
{
    if (!first.isValid() || !last.isValid() || first <= last)
        return {};
    return QStringLiteral("Das Anfangsdatum %1 liegt nach dem Enddatum %2.")
        .arg(formatShortDate(first), formatShortDate(last));
}

bool walkStoredResults(const tUser& user, ExerciseKind kind, const DayRange& days, ResultVisitor& visit,
                       QList<DamagedLog>& damaged)
{
    const DayKeys keys(days);
    const QStringList& logs = user.Files(kind);
    switch (kind) {
    case ExerciseKind::Tel:
        return walkLogs(logs, kind, ff::TelRecordSize, &ff::decodeTel, keys, visit, &ResultVisitor::tel,
                        damaged);
    case ExerciseKind::Memo:
        return walkLogs(logs, kind, ff::MemoRecordSize, &ff::decodeMemo, keys, visit,
                        &ResultVisitor::memo, damaged);
    case ExerciseKind::Wort:
        return walkLogs(logs, kind, ff::KatRecordSize, &ff::decodeKat, keys, visit, &ResultVisitor::wort,
                        damaged);
    default:
        return walkLogs(logs, kind, ff::KatRecordSize, &decodeBild, keys, visit, &ResultVisitor::bild,
                        damaged);
    }
}

bool tProgramData::walkResults(const tUser& user, ExerciseKind kind, const DayRange& days,
                               ResultVisitor& visit, QList<DamagedLog>& damaged) const
{
    const bool whole = walkStoredResults(user, kind, days, visit, damaged);
    // The session lists belong to the detective logged in; their first savedCount
    // records are in the logs already.
    if (!SessionListsCreated || &user != CurrentUser.get())
        return whole;
    const DayKeys keys(days);
    const qsizetype from = m_saved[logIndex(kind)];
    switch (kind) {
    case ExerciseKind::Tel:
        walkList(TelStatList, kind, from, keys, visit, &ResultVisitor::tel);
        break;
    case ExerciseKind::Memo:
        walkList(MemoStatList, kind, from, keys, visit, &ResultVisitor::memo);
        break;
    case ExerciseKind::Wort:
        walkList(WortStatList, kind, from, keys, visit, &ResultVisitor::wort);
        break;
    default:
        walkList(BildStatList, kind, from, keys, visit, &ResultVisitor::bild);
        break;
    }
    return whole;
}

} // namespace gf
