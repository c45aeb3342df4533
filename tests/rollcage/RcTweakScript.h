// SPDX-License-Identifier: MIT
#pragma once
// What the user does in the tweaks dialog, as a short script: "o4" opens it
// with edition code 4, "c3" clicks chkTweak(3), "s2.3" selects option 3 of
// group 2, "x" closes it.

#include "rollcage/RcTweakModel.h"

#include <QString>
#include <QStringList>

namespace tobx::test {

inline void playTweaks(RcTweakModel& model, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString arg = step.mid(1);
        switch (step.at(0).toLatin1()) {
        case 'o':
            model.open(quint8(arg.toInt()));
            break;
        case 'c':
            model.click(arg.toInt());
            break;
        case 's':
            model.select(arg.section(QLatin1Char('.'), 0, 0).toInt(), arg.section(QLatin1Char('.'), 1, 1).toInt());
            break;
        case 'x':
            model.close();
            break;
        default:
            qFatal("bad tweak script step");
        }
    }
}

} // namespace tobx::test
