// SPDX-License-Identifier: MIT
#include "TobFiles.h"

#include "core/FileSystem.h"
#include "core/FileUtils.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace tobx {

namespace {

enum class Made { Yes, Exists, Failed };

// Makes one folder level; the system's reason when it does not.
Made makeFolder(const QString& path, QString* reason)
{
#ifdef Q_OS_UNIX
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return Made::Yes;
    *reason = qt_error_string(errno);
    return errno == EEXIST ? Made::Exists : Made::Failed;
#else
    if (QDir().mkdir(path))
        return Made::Yes;
    *reason = qt_error_string(-1);
    return Made::Exists; // or not: the look that follows tells
#endif
}

} // namespace

FolderGuard::FolderGuard(QString root)
    : m_root(std::move(root))
{
}

FolderGuard::Verdict FolderGuard::prepareFolders(const QString& relative, bool create)
{
    const qsizetype lastSlash = relative.lastIndexOf(QLatin1Char('/'));
    if (lastSlash <= 0 || m_known.contains(relative.left(lastSlash)))
        return Verdict::Ready;
    qsizetype slash = relative.indexOf(QLatin1Char('/'));
    while (slash > 0 && slash <= lastSlash) {
        const QString level = relative.left(slash);
        if (!m_known.contains(level)) {
            const Verdict verdict = checkLevel(level, create);
            if (verdict != Verdict::Ready)
                return verdict;
            m_known.insert(level);
        }
        slash = relative.indexOf(QLatin1Char('/'), slash + 1);
    }
    return Verdict::Ready;
}

// A level to be made is made at once; only when the system says that the
// name is taken is it looked at.
FolderGuard::Verdict FolderGuard::checkLevel(const QString& level, bool create)
{
    const QString path = JoinPath(m_root, level);
    if (create) {
        switch (makeFolder(path, &m_reason)) {
        case Made::Yes:
            return Verdict::Ready;
        case Made::Failed:
            m_failedPath = path;
            return Verdict::Failed;
        case Made::Exists:
            break;
        }
    }
    switch (LookAt(path).kind) {
    case PathKind::Folder:
        return Verdict::Ready;
    case PathKind::Link:
        return Verdict::ThroughLink;
    case PathKind::File:
    case PathKind::Other:
        m_failedPath = path;
        m_reason = QStringLiteral("A file of that name is in the way.");
        return Verdict::Blocked;
    case PathKind::Missing:
        break;
    }
    m_failedPath = path;
    return create ? Verdict::Failed : Verdict::Missing;
}

PathFacts LookAt(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const FileId id{quint64(info.st_dev), quint64(info.st_ino)};
    if (S_ISLNK(info.st_mode))
        return {PathKind::Link, -1, id};
    if (S_ISREG(info.st_mode))
        return {PathKind::File, qint64(info.st_size), id};
    return {S_ISDIR(info.st_mode) ? PathKind::Folder : PathKind::Other, -1, id};
#else
    const QFileInfo info(path);
    if (info.isSymLink())
        return {PathKind::Link, -1, {}};
    if (!info.exists())
        return {};
    const FileId id = IdentityOf(path).value_or(FileId{});
    if (info.isFile())
        return {PathKind::File, info.size(), id};
    return {info.isDir() ? PathKind::Folder : PathKind::Other, -1, id};
#endif
}


} // namespace tobx
