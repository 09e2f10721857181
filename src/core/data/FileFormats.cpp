#include "core/data/FileFormats.h"

#include "core/data/BinaryIO.h"

namespace gf::fileformat {

namespace {

QString lastComponent(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

// A full path that the slot cannot hold exactly would name another file when read
// back; its last component, resolved in the data folder, still names the right one.
void pathSlot(ByteWriter& w, const QString& path)
{
    QByteArray bytes;
    if (cp1252::encode(path, bytes) && bytes.size() < SlotSize) {
        w.slot(path);
        return;
    }
    w.slot(lastComponent(path));
}

bool readList(ByteCursor& c, QStringList& list)
{
    const quint16 count = c.u16();
    if (!c.ok() || qint64(count) * SlotSize > c.remaining())
        return false;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list.append(c.slot());
    return c.ok();
}

void writeList(ByteWriter& w, const QStringList& list)
{
    const int count = int(std::min<qsizetype>(list.size(), 0xFFFF));
    w.u16(quint16(count));
    for (int i = 0; i < count; ++i)
        pathSlot(w, list[i]);
}

bool readUser(ByteCursor& c, tUser& u)
{
    u.Name = c.slot();
    u.RegDate.days = c.f64();
    u.Reserved = c.u8();
    for (ExerciseKind k : AllExerciseKinds)
        if (!readList(c, u.Files(k)))
            return false;
    for (ExerciseKind k : AllExerciseKinds)
        u.sumFile(k) = c.slot();
    for (ExerciseKind k : AllExerciseKinds) {
        u.Logs[logIndex(k)].LastDate.days = c.f64();
        u.Logs[logIndex(k)].FileName = c.slot();
    }
    u.RegSlot = c.u16();
    for (int m = 1; m <= 3; ++m)
        u.TelLevel[m] = c.i32();
    for (int m = 1; m <= 3; ++m)
        u.MemoLevel[m] = c.i32();
    return c.ok();
}

void writeUser(ByteWriter& w, const tUser& u)
{
    w.slot(u.Name);
    w.f64(u.RegDate.days);
    w.u8(u.Reserved);
    for (ExerciseKind k : AllExerciseKinds)
        writeList(w, u.Files(k));
    for (ExerciseKind k : AllExerciseKinds)
        pathSlot(w, u.sumFile(k));
    for (ExerciseKind k : AllExerciseKinds) {
        w.f64(u.Logs[logIndex(k)].LastDate.days);
        pathSlot(w, u.Logs[logIndex(k)].FileName);
    }
    w.u16(u.RegSlot);
    for (int m = 1; m <= 3; ++m)
        w.i32(u.TelLevel[m]);
    for (int m = 1; m <= 3; ++m)
        w.i32(u.MemoLevel[m]);
}

void encodeHead(ByteWriter& w, quint16 kind, quint16 reserved, quint16 mode, double stamp,
                quint16 tasks, qint32 best, quint16 minLevel, quint16 maxLevel)
{
    w.u16(kind);
    w.u16(reserved);
    w.u16(mode);
    w.f64(stamp);
    w.u16(tasks);
    w.i32(best);
    w.u16(minLevel);
    w.u16(maxLevel);
}

template <typename Stat> void decodeHead(ByteCursor& c, Stat& r)
{
    r.Kind = c.u16();
    r.Reserved = c.u16();
    r.Mode = c.u16();
    r.Stamp.days = c.f64();
    r.TaskCount = c.u16();
    r.BestSpan = c.i32();
    r.MinLevel = c.u16();
    r.MaxLevel = c.u16();
}

// The stored format repeats both tables once per table entry. Reading every copy into
// the same tables leaves the last one standing, so only the last one is decoded.
template <typename Table> void writeTables(ByteWriter& w, const Table& trials, const Table& correct)
{
    for (std::size_t copy = 0; copy < Table::count; ++copy) {
        for (quint16 v : trials)
            w.u16(v);
        for (quint16 v : correct)
            w.u16(v);
    }
}

template <typename Table> void readTables(ByteCursor& c, Table& trials, Table& correct)
{
    c.skip(qint64(Table::count - 1) * 2 * 2 * qint64(Table::count));
    for (quint16& v : trials)
        v = c.u16();
    for (quint16& v : correct)
        v = c.u16();
}

} // namespace

QByteArray userMagic()
{
    return QByteArray("\x09Grips-Fix", 10);
}

ReadResult readUserFile(const QByteArray& bytes, QList<std::shared_ptr<tUser>>& out)
{
    if (bytes.size() < 10 || bytes.left(10) != userMagic())
        return bytes.size() < 10 && userMagic().startsWith(bytes) ? ReadResult::Truncated
                                                                  : ReadResult::BadMagic;
    ByteCursor c(bytes.constData() + 10, bytes.size() - 10);
    const quint16 count = c.u16();
    if (!c.ok())
        return ReadResult::Truncated;
    for (int i = 0; i < count; ++i) {
        if (c.remaining() < UserRecordFixed)
            return ReadResult::Truncated;
        auto user = std::make_shared<tUser>();
        if (!readUser(c, *user))
            return ReadResult::Truncated;
        out.append(std::move(user));
    }
    return ReadResult::Ok;
}

QByteArray writeUserFile(const QList<std::shared_ptr<tUser>>& users)
{
    QByteArray out = userMagic();
    ByteWriter w(out);
    const int count = int(std::min<qsizetype>(users.size(), 0xFFFF));
    w.u16(quint16(count));
    for (int i = 0; i < count; ++i)
        writeUser(w, *users[i]);
    return out;
}

bool readSeqSummary(const QByteArray& bytes, SeqSummary& out)
{
    if (bytes.size() < SeqSummarySize)
        return false;
    ByteCursor c(bytes.constData(), bytes.size());
    c.skip(8);
    for (int m = 1; m <= 3; ++m) {
        out.Best[m] = c.i32();
        out.Avg[m] = c.f64();
        out.Count[m] = c.f64();
    }
    return c.ok();
}

bool readKatSummary(const QByteArray& bytes, KatSummary& out)
{
    if (bytes.size() < KatSummarySize)
        return false;
    ByteCursor c(bytes.constData(), bytes.size());
    c.skip(8);
    for (int l = 1; l <= 4; ++l) {
        out.Avg[l] = c.f64();
        out.Count[l] = c.f64();
    }
    return c.ok();
}

QByteArray writeSeqSummary(const SerialDate& written, const SeqSummary& s)
{
    QByteArray out;
    out.reserve(SeqSummarySize);
    ByteWriter w(out);
    w.f64(written.days);
    for (int m = 1; m <= 3; ++m) {
        w.i32(s.Best[m]);
        w.f64(s.Avg[m]);
        w.f64(s.Count[m]);
    }
    return out;
}

QByteArray writeKatSummary(const SerialDate& written, const KatSummary& s)
{
    QByteArray out;
    out.reserve(KatSummarySize);
    ByteWriter w(out);
    w.f64(written.days);
    for (int l = 1; l <= 4; ++l) {
        w.f64(s.Avg[l]);
        w.f64(s.Count[l]);
    }
    return out;
}

void encodeTel(const tTeleStat& r, QByteArray& out)
{
    ByteWriter w(out);
    encodeHead(w, r.Kind, r.Reserved, r.Mode, r.Stamp.days, r.TaskCount, r.BestSpan, r.MinLevel,
               r.MaxLevel);
    writeTables(w, r.Trials, r.Correct);
}

void encodeMemo(const tBmpSndStat& r, QByteArray& out)
{
    ByteWriter w(out);
    encodeHead(w, r.Kind, r.Reserved, r.Mode, r.Stamp.days, r.TaskCount, r.BestSpan, r.MinLevel,
               r.MaxLevel);
    writeTables(w, r.Trials, r.Correct);
}

void encodeKat(const tWortKatStat& r, QByteArray& out)
{
    ByteWriter w(out);
    w.u16(r.Kind);
    w.f64(r.Stamp.days);
    for (int l = 1; l <= 4; ++l) {
        w.u16(r.AskedPerLevel[l]);
        w.u16(r.CorrectPerLevel[l]);
    }
}

void decodeTel(const char* bytes, tTeleStat& r)
{
    ByteCursor c(bytes, TelRecordSize);
    decodeHead(c, r);
    readTables(c, r.Trials, r.Correct);
}

void decodeMemo(const char* bytes, tBmpSndStat& r)
{
    ByteCursor c(bytes, MemoRecordSize);
    decodeHead(c, r);
    readTables(c, r.Trials, r.Correct);
}

void decodeKat(const char* bytes, tWortKatStat& r)
{
    ByteCursor c(bytes, KatRecordSize);
    r.Kind = c.u16();
    r.Stamp.days = c.f64();
    for (int l = 1; l <= 4; ++l) {
        r.AskedPerLevel[l] = c.u16();
        r.CorrectPerLevel[l] = c.u16();
    }
}

} // namespace gf::fileformat
