// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace tobx {

// Time of day in seconds since midnight, with fractions.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
};

class SystemClock final : public Clock {
public:
    double secondsSinceMidnight() const override;
};

// Seconds from start to now; a run that crosses midnight adds a day.
double ElapsedSeconds(double startTime, double now);

// "0.000": at least one digit before the point, exactly three after it.
QString FormatElapsed(double seconds);

} // namespace tobx
