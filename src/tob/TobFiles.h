// SPDX-License-Identifier: MIT
#pragma once
// File helpers shared by extraction and build: the folder levels below a root
// that a run has already proven to be real folders, one look at what stands at
// a path.

#include "core/FileCopy.h"

#include <QFile>
#include <QSet>
#include <QString>

namespace tobx {

class FolderGuard {
public:
    // root: the folder every relative path is taken from.
    explicit FolderGuard(QString root);

    enum class Verdict {
        Ready,       // every folder level exists (or was made) and none is a link
        ThroughLink, // a level is a symbolic link: the path may lead outside root
        Missing,     // a level does not exist and was not to be made
        Blocked,     // a level exists but is no folder
        Failed,      // a level could not be made
    };

    // Looks at the folder levels of `relative` ('/' between levels; its last
    // level names the file itself and is left alone), outermost first. With
    // `create`, missing levels are made. failedPath() and reason() tell what
    // went wrong for Blocked and Failed.
    Verdict prepareFolders(const QString& relative, bool create);

    QString failedPath() const { return m_failedPath; }
    QString reason() const { return m_reason; }

private:
    Verdict checkLevel(const QString& level, bool create);

    QString m_root;
    // Levels relative to the root that are known to be real folders. A level
    // is only entered after all levels above it, so a known folder implies
    // known parents.
    QSet<QString> m_known;
    QString m_failedPath;
    QString m_reason;
};

// What is at a path, without following a link there; one look at the file
// system answers every question an entry's target raises.
enum class PathKind { Missing, Link, File, Folder, Other };
struct PathFacts {
    PathKind kind = PathKind::Missing;
    qint64 size = -1; // of a file
    FileId id;
};
PathFacts LookAt(const QString& path);

} // namespace tobx
