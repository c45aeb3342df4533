#pragma once
// File-system helpers behind the operations: identity of two paths, writing a
// whole file so that it is complete or absent, and guarding a destination
// folder against links that lead out of it.

#include <QByteArrayView>
#include <QString>

namespace tobx {

// True when both paths name the same existing file (same device and inode, so
// it holds through links and on file systems that ignore case); when either
// does not exist, true only for equal texts.
bool SameFile(const QString& a, const QString& b);

// True when a level of root/relative at or below root is a symbolic link, so
// that writing there could land outside root.
bool LinkOnPathBelow(const QString& root, const QString& relative);

// Writes data as the whole content of path. An existing file is replaced
// through QSaveFile (new content or old file, never a mix); a new file is
// created exclusively and removed again when writing fails.
bool WriteWholeFile(const QString& path, QByteArrayView data, QString* reason);

// The folder that holds the running program.
QString ProgramFolder();

} // namespace tobx
