#include "core/sequence/SequenceRules.h"

#include "core/data/Random.h"

#include <cmath>

namespace gf::seq {

QVector<int> drawRunLimited(Random& random, int count, int firstLow, int maxRun)
{
    QVector<int> items;
    items.reserve(std::max(count, 0));
    int run = 0;
    for (int i = 0; i < count; ++i) {
        int d = random.uniform(i == 0 ? firstLow : 0, 9);
        const int prev = i == 0 ? -1 : items.at(i - 1);
        if (d == prev && run >= maxRun) {
            while (d == prev)
                d = random.uniform(0, 9);
        }
        run = d == prev ? run + 1 : 1;
        items.append(d);
    }
    return items;
}

bool BlockLevelRule::Record(bool correct, int& bestSpan)
{
    ++nTrials;
    if (correct)
        ++nCorrect;
    if (nTrials < 2)
        return false;
    if (nCorrect >= 2) {
        bestSpan = std::max(bestSpan, Level);
        if (Level < High)
            ++Level;
    } else if (nCorrect == 0) {
        if (Level > Low)
            --Level;
    }
    nTrials = 0;
    nCorrect = 0;
    return true;
}

double percentOneDecimal(int correct, int trials)
{
    if (trials == 0)
        return 0.0;
    return double(std::lround(double(correct) * 1000.0 / double(trials))) / 10.0;
}

} // namespace gf::seq
