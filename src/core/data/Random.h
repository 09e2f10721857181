#pragma once

#include <QtGlobal>
#include <random>

namespace gf {

// The program's one source of random draws. The program seeds it from the clock at
// start-up; tests seed it to make every draw repeatable. Rules that draw take a
// Random& so that a test can hand them a generator of its own.
class Random
{
public:
    explicit Random(quint32 seed = 1) : m_engine(seed) {}

    void seed(quint32 value) { m_engine.seed(value); }
    void seedFromClock();

    // Uniform integer in [low, high], both inclusive.
    int uniform(int low, int high);
    // Uniform integer in [0, n); n must be positive.
    int below(int n) { return uniform(0, n - 1); }
    // Uniform real in [0, 1).
    double uniform01();

    std::mt19937& engine() { return m_engine; }

private:
    std::mt19937 m_engine;
};

// The program-wide generator.
Random& rng();

} // namespace gf
