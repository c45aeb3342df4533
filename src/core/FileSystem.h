// SPDX-License-Identifier: MIT
#pragma once
// File-system helpers behind the operations: identity of two paths, writing a
// whole file so that it is complete or absent, and guarding a destination
// folder against links that lead out of it.

#include "FileCopy.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace tobx {

// True when both paths name the same existing file (same device and inode, so
// it holds through links and on file systems that ignore case); when either
// does not exist, true only for equal texts.
bool SameFile(const QString& a, const QString& b);

// The identity of the file at path, through links; nothing when there is none.
std::optional<FileId> IdentityOf(const QString& path);

// True when a level of root/relative at or below root is a symbolic link, so
// that writing there could land outside root.
bool LinkOnPathBelow(const QString& root, const QString& relative);

// The check every writer makes before it writes the file root/relative ('/'
// between levels; root is the folder the user chose and is taken as it is).
// Returns why the write is refused, for the user: a symbolic link at the name
// itself (dangling or not) or at a folder level below root, through which the
// write could land outside root, or a relative path that leaves root by
// itself. Empty when nothing stands in the way; levels that do not exist yet
// are fine, because they are made as real folders.
QString OutputPathRefusal(const QString& root, const QString& relative);

// Creates a file that must not exist yet (not even as a dangling link) and
// writes data into it; a file that cannot be written whole is removed again.
bool CreateNewFile(const QString& path, QByteArrayView data, QString* reason);

// Writes data as the whole content of path. An existing file is replaced
// through QSaveFile (new content or old file, never a mix); a new file is
// created exclusively and removed again when writing fails.
bool WriteWholeFile(const QString& path, QByteArrayView data, QString* reason);

// The folder that holds the running program.
QString ProgramFolder();

} // namespace tobx
