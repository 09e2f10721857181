#pragma once

#include "core/data/Records.h"

#include <QList>

namespace gf {

class tProgramData;

// What the category page shows: percent right per level (Stufe I..IV), today and
// earlier, for the word and the picture search. NoValueReal where there is none.
struct tKatValues
{
    // 1..4 word search today, 5..8 word search earlier, 9..12 picture search today,
    // 13..16 picture search earlier.
    RangeArray<double, 1, 16> Values{};
    quint16 WordCount = 0;    // word-search exercises today
    quint16 PictureCount = 0; // picture-search exercises today
    double WortTotal = 0;     // earlier word-search results counted
    double BildTotal = 0;
};

// What the sequence page shows: per mode 1..3 the secure length today and earlier,
// the best length earlier and the numbers of exercises, for the telephone switchboard
// and the memo protocol.
struct tSeqValues
{
    int NumLevels = 9; // the scales run up to here
    quint16 TelRunsToday = 0;
    quint16 MemoRunsToday = 0;
    RangeArray<qint32, 1, 3> TelBestEarlier{};
    RangeArray<qint32, 1, 3> MemoBestEarlier{};
    RangeArray<double, 1, 3> TelSafeToday{};
    RangeArray<double, 1, 3> MemoSafeToday{};
    RangeArray<double, 1, 3> TelSafeEarlier{};
    RangeArray<double, 1, 3> MemoSafeEarlier{};
    RangeArray<quint16, 1, 3> TelCountToday{};
    RangeArray<quint16, 1, 3> MemoCountToday{};
    RangeArray<double, 1, 3> TelCountEarlier{};
    RangeArray<double, 1, 3> MemoCountEarlier{};
    double TelTotal = 0;
    double MemoTotal = 0;
};

// Longest scale the sequence page draws: the memo protocol's level table ends at 20.
// A damaged summary cannot stretch it further.
constexpr int MaxScaleLevel = 20;

// Percent right per level over today's records of one search exercise; NoValueReal for
// a level nobody was asked at (and for every level without records).
RangeArray<double, 1, 4> katToday(const QList<tWortKatStat>& records);
RangeArray<double, 1, 4> katToday(const QList<tBmpKatStat>& records);

// The category page from the session lists (today) and the summaries (earlier).
tKatValues katValues(const tProgramData& data);
// The sequence page from the session lists (today) and the summaries (earlier).
tSeqValues seqValues(const tProgramData& data);

// A percentage as the category page writes it: "75%", "--" for no value.
QString katValueText(double value);

} // namespace gf
