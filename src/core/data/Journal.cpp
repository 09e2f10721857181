#include "core/data/Journal.h"

#include <QList>

namespace gf {

namespace ff = fileformat;

namespace {

const QByteArray Magic = QByteArrayLiteral("gripsfix-journal 1");

QByteArray number(double v)
{
    return QByteArray::number(v, 'g', 17);
}

QByteArray seqLine(const ff::SeqSummary& s)
{
    QByteArrayList parts;
    for (int m = 1; m <= 3; ++m)
        parts << QByteArray::number(s.Best[m]) << number(s.Avg[m]) << number(s.Count[m]);
    return parts.join(' ');
}

QByteArray katLine(const ff::KatSummary& s)
{
    QByteArrayList parts;
    for (int l = 1; l <= 4; ++l)
        parts << number(s.Avg[l]) << number(s.Count[l]);
    return parts.join(' ');
}

bool parseSeq(const QByteArrayList& f, ff::SeqSummary& s)
{
    if (f.size() != 9)
        return false;
    bool ok = true;
    for (int m = 1; m <= 3 && ok; ++m) {
        bool a = false, b = false, c = false;
        s.Best[m] = f[(m - 1) * 3].toInt(&a);
        s.Avg[m] = f[(m - 1) * 3 + 1].toDouble(&b);
        s.Count[m] = f[(m - 1) * 3 + 2].toDouble(&c);
        ok = a && b && c;
    }
    return ok;
}

bool parseKat(const QByteArrayList& f, ff::KatSummary& s)
{
    if (f.size() != 8)
        return false;
    bool ok = true;
    for (int l = 1; l <= 4 && ok; ++l) {
        bool a = false, b = false;
        s.Avg[l] = f[(l - 1) * 2].toDouble(&a);
        s.Count[l] = f[(l - 1) * 2 + 1].toDouble(&b);
        ok = a && b;
    }
    return ok;
}

template <typename Stat> void foldSeq(ff::SeqSummary& s, const Stat& r)
{
    const int m = r.Mode;
    if (!s.Best.contains(m))
        return; // a record without a valid mode has no place in the summary
    if (s.Best[m] == NoValue || r.MaxLevel > s.Best[m])
        s.Best[m] = r.MaxLevel;
    if (s.Avg[m] == NoValueReal) {
        s.Avg[m] = r.BestSpan;
        s.Count[m] = 1;
    } else if (r.BestSpan != NoValue) {
        s.Avg[m] = (s.Avg[m] * s.Count[m] + r.BestSpan) / (s.Count[m] + 1);
        s.Count[m] += 1;
    }
}

enum class DayPlace
{
    Before, // an earlier day than the snapshot's: in both
    Same,   // the snapshot's day: in the current values only
    NewDay  // a later day: the current values become the snapshot first
};

DayPlace place(tLedger& l, const SerialDate& stamp)
{
    const QDate d = stamp.date();
    if (!d.isValid())
        return DayPlace::Before;
    if (!l.snapDay.isValid() || d > l.snapDay)
        return DayPlace::NewDay;
    return d == l.snapDay ? DayPlace::Same : DayPlace::Before;
}

template <typename Stat> void foldLedger(tLedger& l, bool sequence, const Stat& r)
{
    const DayPlace p = place(l, r.Stamp);
    if (p == DayPlace::NewDay) {
        l.seqBefore = l.seq;
        l.katBefore = l.kat;
        l.snapDay = r.Stamp.date();
    }
    if (sequence) {
        if constexpr (!std::is_base_of_v<tWortKatStat, Stat>) {
            foldSeq(l.seq, r);
            if (p == DayPlace::Before)
                foldSeq(l.seqBefore, r);
        }
    } else {
        if constexpr (std::is_base_of_v<tWortKatStat, Stat>) {
            foldRecord(l.kat, r);
            if (p == DayPlace::Before)
                foldRecord(l.katBefore, r);
        }
    }
}

} // namespace

ff::SeqSummary emptySeqSummary()
{
    ff::SeqSummary s;
    s.Best.fill(NoValue);
    s.Avg.fill(NoValueReal);
    s.Count.fill(0);
    return s;
}

ff::KatSummary emptyKatSummary()
{
    ff::KatSummary s;
    s.Avg.fill(NoValueReal);
    s.Count.fill(0);
    return s;
}

void foldRecord(ff::SeqSummary& s, const tTeleStat& r)
{
    foldSeq(s, r);
}

void foldRecord(ff::SeqSummary& s, const tBmpSndStat& r)
{
    foldSeq(s, r);
}

void foldRecord(ff::KatSummary& s, const tWortKatStat& r)
{
    for (int l = 1; l <= 4; ++l) {
        if (r.AskedPerLevel[l] == 0)
            continue;
        const double p = double(r.CorrectPerLevel[l]) * 100.0 / double(r.AskedPerLevel[l]);
        if (s.Avg[l] == NoValueReal) {
            s.Avg[l] = p;
            s.Count[l] = 1;
        } else {
            s.Avg[l] = (s.Avg[l] * s.Count[l] + p) / (s.Count[l] + 1);
            s.Count[l] += 1;
        }
    }
}

void foldIntoLedger(tLedger& l, ExerciseKind kind, const tTeleStat& r)
{
    foldLedger(l, isSequence(kind), r);
}

void foldIntoLedger(tLedger& l, ExerciseKind kind, const tBmpSndStat& r)
{
    foldLedger(l, isSequence(kind), r);
}

void foldIntoLedger(tLedger& l, ExerciseKind kind, const tWortKatStat& r)
{
    foldLedger(l, isSequence(kind), r);
}

ff::SeqSummary seqEarlier(const tLedger& l, const QDate& day)
{
    return l.snapDay.isValid() && l.snapDay >= day ? l.seqBefore : l.seq;
}

ff::KatSummary katEarlier(const tLedger& l, const QDate& day)
{
    return l.snapDay.isValid() && l.snapDay >= day ? l.katBefore : l.kat;
}

QByteArray tJournal::toBytes() const
{
    QByteArray out = Magic + '\n';
    for (ExerciseKind k : AllExerciseKinds) {
        const tLedger& l = (*this)[k];
        const bool seq = isSequence(k);
        out += "kind " + kindTag(k).toLatin1() + '\n';
        out += "day " +
               (l.snapDay.isValid() ? l.snapDay.toString(Qt::ISODate).toLatin1()
                                    : QByteArrayLiteral("-")) +
               '\n';
        out += "now " + (seq ? seqLine(l.seq) : katLine(l.kat)) + '\n';
        out += "before " + (seq ? seqLine(l.seqBefore) : katLine(l.katBefore)) + '\n';
        for (auto it = l.folded.cbegin(); it != l.folded.cend(); ++it)
            out += "log " + QByteArray::number(it.value()) + ' ' + it.key().toUtf8() + '\n';
        for (const QString& name : l.pending)
            out += "pending " + name.toUtf8() + '\n';
    }
    return out + "end\n";
}

bool tJournal::fromBytes(const QByteArray& bytes, tJournal& out)
{
    const QByteArrayList lines = bytes.split('\n');
    if (lines.size() < 2 || lines.first() != Magic)
        return false;
    tJournal j;
    int kindsSeen = 0;
    tLedger* l = nullptr;
    bool seq = false;
    bool ended = false;
    for (qsizetype i = 1; i < lines.size() && !ended; ++i) {
        const QByteArray& line = lines[i];
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = space < 0 ? line : line.left(space);
        const QByteArray rest = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "end") {
            ended = true;
        } else if (key == "kind") {
            if (kindsSeen >= 4 || rest != kindTag(AllExerciseKinds[kindsSeen]).toLatin1())
                return false;
            const ExerciseKind k = AllExerciseKinds[kindsSeen++];
            l = &j[k];
            seq = isSequence(k);
        } else if (!l) {
            return false;
        } else if (key == "day") {
            l->snapDay =
                rest == "-" ? QDate() : QDate::fromString(QString::fromLatin1(rest), Qt::ISODate);
            if (rest != "-" && !l->snapDay.isValid())
                return false;
        } else if (key == "now" || key == "before") {
            const QByteArrayList f = rest.split(' ');
            const bool now = key == "now";
            const bool ok = seq ? parseSeq(f, now ? l->seq : l->seqBefore)
                                : parseKat(f, now ? l->kat : l->katBefore);
            if (!ok)
                return false;
        } else if (key == "pending") {
            if (rest.isEmpty())
                return false;
            l->pending.append(QString::fromUtf8(rest));
        } else if (key == "log") {
            const qsizetype cut = rest.indexOf(' ');
            bool ok = false;
            const qint64 n = cut < 0 ? -1 : rest.left(cut).toLongLong(&ok);
            if (!ok || n < 0 || cut + 1 >= rest.size())
                return false;
            l->folded.insert(QString::fromUtf8(rest.mid(cut + 1)), n);
        } else {
            return false;
        }
    }
    if (!ended || kindsSeen != 4)
        return false;
    out = j;
    return true;
}

} // namespace gf
