// SPDX-License-Identifier: MIT
#pragma once
// The command line: the same operations as the window's buttons, driven by
// arguments. Returns the exit status: 0 the operation ended normally, 1 a
// message ended it, 2 a usage error, 3 the user's answer ended it.

#include <QStringList>

#include <cstdio>

namespace tobx {

int RunTobx(const QStringList& arguments, std::FILE* out, std::FILE* err, std::FILE* in);

} // namespace tobx
