#pragma once

#include <QString>
#include <QVector>

#include <algorithm>

namespace gf {

class Random;

// Rules shared by the two sequence exercises (telephone switchboard, memo protocol).
namespace seq {

// `count` items from 0..9, the first from `firstLow`..9. No item occurs more than
// `maxRun` times in succession: a draw that would lengthen a full run is repeated
// (from 0..9) until it differs, and that item starts a new run.
QVector<int> drawRunLimited(Random& random, int count, int firstLow, int maxRun);

// The length of the sequences adapts in blocks of two tasks: both right raises the
// best span to the block's level and the level by one, both wrong lowers it by one,
// one right keeps it. The level never moves past `Low` or `High`; a level already
// outside them (a start level below `Low`) is not pushed further out.
struct BlockLevelRule
{
    BlockLevelRule(int low, int high, int start) : Low(low), High(high), Level(start) {}

    int Low;
    int High;
    int Level;
    int nTrials = 0;
    int nCorrect = 0;

    // Counts one evaluated task at `Level`. Returns true when it closed a block; then
    // `bestSpan` has been raised (both right) and `Level` adapted.
    bool Record(bool correct, int& bestSpan);
};

// Percent with one decimal, as the results graphs show it; 0 without trials.
double percentOneDecimal(int correct, int trials);

// One bar of a results graph: the share of right answers at one length.
struct LengthBar
{
    int Length = 0;
    double Percent = 0.0; // one decimal
};

// A bar for every length from MinLevel to MaxLevel of `stat` that was presented, in
// increasing order; lengths outside the record's arrays are passed over.
template <typename Stat> QVector<LengthBar> lengthBars(const Stat& stat)
{
    using Counts = decltype(stat.Trials);
    const int from = std::max<int>(stat.MinLevel, Counts::low);
    const int to = std::min<int>(stat.MaxLevel, Counts::high);
    QVector<LengthBar> bars;
    for (int n = from; n <= to; ++n)
        if (stat.Trials[n] != 0)
            bars.append({n, percentOneDecimal(stat.Correct[n], stat.Trials[n])});
    return bars;
}

} // namespace seq
} // namespace gf
