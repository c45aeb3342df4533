// SPDX-License-Identifier: MIT
#include "Clock.h"

#include <QTime>

namespace tobx {

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

double ElapsedSeconds(double startTime, double now)
{
    double elapsed = now - startTime;
    if (elapsed < 0)
        elapsed += 86400.0;
    return elapsed;
}

QString FormatElapsed(double seconds)
{
    return QString::number(seconds, 'f', 3);
}

} // namespace tobx
