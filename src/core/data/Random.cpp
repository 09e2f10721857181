#include "core/data/Random.h"

#include <QDateTime>

namespace gf {

void Random::seedFromClock()
{
    seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
}

int Random::uniform(int low, int high)
{
    Q_ASSERT(low <= high);
    return std::uniform_int_distribution<int>(low, high)(m_engine);
}

double Random::uniform01()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}

Random& rng()
{
    static Random generator;
    return generator;
}

} // namespace gf
