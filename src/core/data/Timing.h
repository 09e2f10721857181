#pragma once

#include <QDateTime>
#include <chrono>

namespace gf {

// Every timed step of the program takes its interval from here, so the test-run
// mode can shorten all of them at once.
namespace timing {
void setScale(double factor); // 1.0 = real time
double scale();
std::chrono::milliseconds scaled(std::chrono::milliseconds nominal);
int scaledMs(std::chrono::milliseconds nominal); // for QTimer::setInterval
} // namespace timing

// Wall clock seen by the rules; tests substitute a fixed or stepping clock.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

Clock& systemClock();

} // namespace gf
