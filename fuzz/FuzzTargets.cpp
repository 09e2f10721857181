#include "FuzzTargets.h"

#include "core/data/FileFormats.h"
#include "core/data/ProgramData.h"
#include "core/search/ItemTables.h"
#include "core/search/ItemTableText.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <cstdlib>
#include <cstring>

namespace gffuzz {

using namespace gf;

namespace {
QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void check(bool property)
{
    if (!property)
        std::abort();
}

bool sameBits(const SerialDate& a, const SerialDate& b)
{
    return std::memcmp(&a.days, &b.days, sizeof a.days) == 0;
}

bool sameUser(const tUser& a, const tUser& b)
{
    for (ExerciseKind k : AllExerciseKinds)
        if (a.Files(k) != b.Files(k) || a.sumFile(k) != b.sumFile(k) ||
            a.Logs[logIndex(k)].FileName != b.Logs[logIndex(k)].FileName ||
            !sameBits(a.Logs[logIndex(k)].LastDate, b.Logs[logIndex(k)].LastDate))
            return false;
    return a.Name == b.Name && sameBits(a.RegDate, b.RegDate) && a.TelLevel == b.TelLevel &&
           a.MemoLevel == b.MemoLevel && a.RegSlot == b.RegSlot && a.Reserved == b.Reserved;
}
} // namespace

int userFile(const uint8_t* data, size_t size)
{
    QList<std::shared_ptr<tUser>> users;
    if (fileformat::readUserFile(bytesOf(data, size), users) != fileformat::ReadResult::Ok)
        return 0;
    // What was read is written and read back unchanged.
    QList<std::shared_ptr<tUser>> again;
    check(fileformat::readUserFile(fileformat::writeUserFile(users), again) ==
          fileformat::ReadResult::Ok);
    check(again.size() == users.size());
    for (qsizetype i = 0; i < users.size(); ++i)
        check(sameUser(*users[i], *again[i]));
    return 0;
}

int summary(const uint8_t* data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    fileformat::SeqSummary s;
    fileformat::KatSummary k;
    if (fileformat::readSeqSummary(bytes, s))
        check(bytes.size() >= fileformat::SeqSummarySize);
    if (fileformat::readKatSummary(bytes, k))
        check(bytes.size() >= fileformat::KatSummarySize);
    // Folding hostile values must stay inside the arrays.
    tProgramData d;
    tTeleStat t;
    if (size >= 2)
        t.Mode = quint16(data[0] | data[1] << 8);
    t.BestSpan = s.Best[1];
    t.MaxLevel = quint16(s.Best[2]);
    d.FoldTelStat(t);
    tWortKatStat w;
    for (int l = 1; l <= 4 && size_t(l) < size; ++l)
        w.AskedPerLevel[l] = data[l];
    d.FoldWortStat(w);
    return 0;
}

int log(const uint8_t* data, size_t size)
{
    // The same bytes as a log of every kind, through the result walker and the export's
    // formatting.
    static const QString file =
        QDir::tempPath() +
        QStringLiteral("/gf_fuzz_log_%1.dat").arg(QCoreApplication::applicationPid());
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 0;
        out.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    tProgramData d;
    tUser u;
    for (ExerciseKind k : AllExerciseKinds)
        u.Files(k) = {file};
    // Every whole record is visited, and a torn one makes the log damaged.
    struct Count final : ResultVisitor
    {
        qint64 n = 0;
        void tel(const tTeleStat&) override { ++n; }
        void memo(const tBmpSndStat&) override { ++n; }
        void wort(const tWortKatStat&) override { ++n; }
        void bild(const tBmpKatStat&) override { ++n; }
    };
    const qint64 sizes[4] = {fileformat::TelRecordSize, fileformat::MemoRecordSize,
                             fileformat::KatRecordSize, fileformat::KatRecordSize};
    for (ExerciseKind k : AllExerciseKinds) {
        Count count;
        QList<DamagedLog> damaged;
        const qint64 recordSize = sizes[int(k)];
        check(walkStoredResults(u, k, {}, count, damaged) == (qint64(size) % recordSize == 0));
        check(count.n == qint64(size) / recordSize);
        check(damaged.size() == (qint64(size) % recordSize == 0 ? 0 : 1));
    }
    QByteArray text;
    const bool whole = size % fileformat::KatRecordSize == 0;
    check(d.exportResultsTo(text, u, size > 0, size > 1, QDate(1990 + data[0] % 40, 1, 1),
                            QDate(2000, 1 + (size > 1 ? data[1] % 12 : 0), 1),
                            ekWortBild) == whole);
    text.clear();
    d.exportResultsTo(text, u, false, false, {}, {}, ekTelMemo);
    QFile::remove(file);
    return 0;
}

int itemTables(const uint8_t* data, size_t size)
{
    QByteArray bytes = bytesOf(data, size);
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    ItemTableFile f;
    QString error;
    if (readItemTables(in, QStringLiteral("std.cfg"), f, &error)) {
        for (const auto& t : f.Tables)
            check(checkTableShape(*t).isEmpty());
        // The writer reproduces what the reader accepted.
        QByteArray written = writeItemTables(f);
        QBuffer back(&written);
        back.open(QIODevice::ReadOnly);
        ItemTableFile again;
        check(readItemTables(back, QStringLiteral("std.cfg"), again, &error));
        check(writeItemTables(again) == written);
        ItemTableFile printed;
        parseItemTableText(formatItemTableText(f), printed, &error);
    }
    // The same bytes as a text source for make-tables.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    ItemTableFile parsed;
    if (parseItemTableText(text, parsed, &error)) {
        check(!parsed.Tables.isEmpty());
        for (const auto& t : parsed.Tables)
            check(checkTableShape(*t).isEmpty());
    }
    return 0;
}

} // namespace gffuzz
