// SPDX-License-Identifier: MIT
#include "Tobx.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tobx"));
    return tobx::RunTobx(QCoreApplication::arguments(), stdout, stderr, stdin);
}
