// SPDX-License-Identifier: MIT
#pragma once
// Files that reach the window from outside its dialogs: named on the command
// line, passed by the desktop, or dropped on the window. Each goes to the
// pane its type belongs to, typed by the same detection as the Go buttons use
// but without its messages.

#include <QList>
#include <QString>
#include <QStringList>

class QMimeData;

namespace tobx {

// The Build pane for a list file (types 11 and 12), the Extract pane for
// every other file.
int PaneForFile(const QString& path);

// The local files and folders among dropped data, in their order.
QStringList DroppedPaths(const QMimeData* data);

} // namespace tobx
