#pragma once

#include "core/data/SerialDate.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <cstddef>

namespace gf {

// A fixed array indexed by the bounds the domain uses (Trials[3..15], TelLevel[1..3]),
// so code reads like the rules it implements. Out-of-range indexes assert.
template <typename T, int Lo, int Hi> struct RangeArray
{
    static_assert(Lo <= Hi);
    static constexpr int low = Lo;
    static constexpr int high = Hi;
    static constexpr std::size_t count = std::size_t(Hi - Lo + 1);

    std::array<T, count> v{};

    static constexpr bool contains(int i) { return i >= Lo && i <= Hi; }
    T& operator[](int i)
    {
        Q_ASSERT(contains(i));
        return v[std::size_t(i - Lo)];
    }
    const T& operator[](int i) const
    {
        Q_ASSERT(contains(i));
        return v[std::size_t(i - Lo)];
    }
    void fill(const T& value) { v.fill(value); }
    auto begin() { return v.begin(); }
    auto end() { return v.end(); }
    auto begin() const { return v.begin(); }
    auto end() const { return v.end(); }
    bool operator==(const RangeArray&) const = default;
};

// One cell of an item table with the counters the running exercise keeps for it.
struct tCell
{
    QString Text;
    quint16 Correct = 0;
    quint16 Asked = 0;
    RangeArray<quint16, 1, 16> PosShown{};
    RangeArray<quint16, 1, 4> AskedPerLevel{};
    RangeArray<quint16, 1, 4> CorrectPerLevel{};
};

// One item table: up to 10 x 10 cells, all of which always exist.
struct tConfig
{
    static constexpr int GridSize = 10;

    QString Name;
    quint16 ColCount = 4;
    quint16 RowCount = 4;
    RangeArray<RangeArray<tCell, 1, GridSize>, 1, GridSize> Cells; // Cells[row][column]
    QStringList Lines; // text of the second introduction dialog
};

// The current monthly log of one result kind.
struct tEntry
{
    SerialDate LastDate; // 0 in a new record
    QString FileName;
};

// The four work areas. Files number them 1..4 in this order (the user record's
// Logs[1..4] and its lists of logs); that number is taken only where files are read and
// written, through logIndex.
enum class ExerciseKind
{
    Tel,
    Memo,
    Wort,
    Bild
};
inline constexpr ExerciseKind AllExerciseKinds[] = {ExerciseKind::Tel, ExerciseKind::Memo,
                                                    ExerciseKind::Wort, ExerciseKind::Bild};
constexpr int logIndex(ExerciseKind kind)
{
    return int(kind) + 1;
}
// Telephone and memo: sequences of growing length, judged by span.
constexpr bool isSequence(ExerciseKind kind)
{
    return kind == ExerciseKind::Tel || kind == ExerciseKind::Memo;
}

// The two-letter tag of a work area's files: "TS", "BS", "WS", "BK".
QString kindTag(ExerciseKind kind);

// A detective.
struct tUser
{
    tUser(); // RegDate := today

    QString Name;
    SerialDate RegDate;
    QStringList TelFiles; // every log ever started, oldest first
    QStringList MemoFiles;
    QStringList WortFiles;
    QStringList BildFiles;
    QString TelSumFile;
    QString MemoSumFile;
    QString WortSumFile;
    QString BildSumFile;
    RangeArray<tEntry, 1, 4> Logs;                 // indexed by logIndex
    RangeArray<qint32, 1, 3> TelLevel{{3, 3, 3}};  // start length per telephone mode
    RangeArray<qint32, 1, 3> MemoLevel{{1, 1, 1}}; // start length per memo mode
    quint8 Reserved = 0;
    quint16 RegSlot = 0;

    // The file list and summary name of a work area.
    QStringList& Files(ExerciseKind kind);
    const QStringList& Files(ExerciseKind kind) const;
    QString& sumFile(ExerciseKind kind);
    const QString& sumFile(ExerciseKind kind) const;
};

// Statistics record of one telephone exercise; lengths 3..15.
struct tTeleStat
{
    quint16 Kind = 2;
    quint16 Reserved = 0;
    quint16 Mode = 0; // 1 hear, 2 read, 3 both
    SerialDate Stamp;
    quint16 TaskCount = 0;
    qint32 BestSpan = 0; // -999: no length passed
    quint16 MinLevel = 3;
    quint16 MaxLevel = 3;
    RangeArray<quint16, 3, 15> Trials{};
    RangeArray<quint16, 3, 15> Correct{};

    bool operator==(const tTeleStat&) const = default;
};

// Statistics record of one memo-protocol exercise; levels 1..20.
struct tBmpSndStat
{
    quint16 Kind = 2;
    quint16 Reserved = 0;
    quint16 Mode = 0; // 1 sounds, 2 pictures, 3 both
    SerialDate Stamp;
    quint16 TaskCount = 0;
    qint32 BestSpan = 0;
    quint16 MinLevel = 1;
    quint16 MaxLevel = 1;
    RangeArray<quint16, 1, 20> Trials{};
    RangeArray<quint16, 1, 20> Correct{};

    bool operator==(const tBmpSndStat&) const = default;
};

// Statistics record of one word-search exercise, per task level (Stufe I..IV).
struct tWortKatStat
{
    quint16 Kind = 2;
    SerialDate Stamp;
    RangeArray<quint16, 1, 4> AskedPerLevel{};
    RangeArray<quint16, 1, 4> CorrectPerLevel{};

    bool operator==(const tWortKatStat&) const = default;
};

// The picture search keeps the same record.
struct tBmpKatStat : tWortKatStat
{
    bool operator==(const tBmpKatStat&) const = default;
};

// A token of the word search's shuffle bags.
struct tWord
{
    quint16 Value = 0;
};

// One task of a search run.
struct tSampleCfg
{
    QString Text;          // the sought item
    quint16 Level = 1;     // 1 = last item shown .. 4 = fourth-last
    quint16 ShowCount = 4; // items shown before the question, 4..10
};

// "No value" in every record, summary and panel.
constexpr qint32 NoValue = -999;
constexpr double NoValueReal = -999.0;

} // namespace gf
