// Reading results back: every record of one kind of a detective, stored and unsaved.

#include "core/data/ResultWalk.h"

#include "core/data/FileFormats.h"
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
        if (!limited)
            return true;
        CivilTime t;
        if (!stamp.toCivil(t))
            return false;
        const int day = dayKey(t.year, t.month, t.day);
        return !(useFirst && day < first) && !(useLast && last < day);
    }
};

template <typename Record>
bool walkLogs(const QStringList& logs, qint64 size, void (*decode)(const char*, Record&),
              const DayKeys& days, ResultVisitor& visit,
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
                if (days.contains(r.Stamp))
                    (visit.*onRecord)(r);
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
void walkList(const QList<Record>& list, qsizetype from, const DayKeys& days, ResultVisitor& visit,
              void (ResultVisitor::*onRecord)(const Record&))
{
    for (qsizetype i = from; i < list.size(); ++i)
        if (days.contains(list[i].Stamp))
            (visit.*onRecord)(list[i]);
}

} // namespace

bool DayRange::contains(const SerialDate& stamp) const
{
    return DayKeys(*this).contains(stamp);
}

bool walkStoredResults(const tUser& user, ExerciseKind kind, const DayRange& days, ResultVisitor& visit,
                       QList<DamagedLog>& damaged)
{
    const DayKeys keys(days);
    const QStringList& logs = user.Files(kind);
    switch (kind) {
    case ExerciseKind::Tel:
        return walkLogs(logs, ff::TelRecordSize, &ff::decodeTel, keys, visit, &ResultVisitor::tel,
                        damaged);
    case ExerciseKind::Memo:
        return walkLogs(logs, ff::MemoRecordSize, &ff::decodeMemo, keys, visit,
                        &ResultVisitor::memo, damaged);
    case ExerciseKind::Wort:
        return walkLogs(logs, ff::KatRecordSize, &ff::decodeKat, keys, visit, &ResultVisitor::wort,
                        damaged);
    default:
        return walkLogs(logs, ff::KatRecordSize, &decodeBild, keys, visit, &ResultVisitor::bild,
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
        walkList(TelStatList, from, keys, visit, &ResultVisitor::tel);
        break;
    case ExerciseKind::Memo:
        walkList(MemoStatList, from, keys, visit, &ResultVisitor::memo);
        break;
    case ExerciseKind::Wort:
        walkList(WortStatList, from, keys, visit, &ResultVisitor::wort);
        break;
    default:
        walkList(BildStatList, from, keys, visit, &ResultVisitor::bild);
        break;
    }
    return whole;
}

} // namespace gf
