// SPDX-License-Identifier: MIT
#include "FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace tobx {

bool SameFile(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    const std::optional<FileId> ia = IdentityOf(a);
    return ia && ia == IdentityOf(b);
}

std::optional<FileId> IdentityOf(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileId{quint64(info.st_dev), quint64(info.st_ino)};
#else
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    return FileId{0, quint64(qHash(info.canonicalFilePath().toCaseFolded()))};
#endif
}

namespace {

// How many levels of root/relative, outermost first, lie before the first one
// that is a symbolic link; -1 when there is none. The walk ends at the first
// level that does not exist.
qsizetype levelsBeforeLink(const QString& root, const QStringList& levels)
{
    QString path = root;
    for (qsizetype n = 0; n < levels.size(); ++n) {
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += levels.at(n);
        const QFileInfo info(path);
        if (info.isSymLink())
            return n;
        if (!info.exists())
            return -1;
    }
    return -1;
}

QStringList levelsOf(const QString& relative)
{
    return relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

} // namespace

bool LinkOnPathBelow(const QString& root, const QString& relative)
{
    return levelsBeforeLink(root, levelsOf(relative)) >= 0;
}

QString OutputPathRefusal(const QString& root, const QString& relative)
{
    if (root.isEmpty())
        return QStringLiteral("No folder is chosen to write into.");
    const QStringList levels = levelsOf(relative);
    if (levels.isEmpty() || relative.startsWith(QLatin1Char('/')) || QDir::isAbsolutePath(relative)
        || levels.contains(QStringLiteral("..")))
        return QStringLiteral("The name leads out of the chosen folder, so nothing is written there.");
    const qsizetype beforeLink = levelsBeforeLink(root, levels);
    if (beforeLink < 0)
        return QString();
    if (beforeLink == levels.size() - 1)
        return QStringLiteral("A symbolic link has this name; writing through it could land outside the chosen "
                              "folder, so nothing is written there.");
    const QString folder = levels.first(beforeLink + 1).join(QLatin1Char('/'));
    return QStringLiteral("The folder \"%1\" on the way is a symbolic link; writing through it could land outside "
                          "the chosen folder, so nothing is written there.")
        .arg(QDir::toNativeSeparators(folder));
}

bool CreateNewFile(const QString& path, QByteArrayView data, QString* reason)
{
    OutputFile file;
    if (file.createNew(path, reason) != OutputFile::Created::Yes)
        return false;
    return file.write(data, reason) && file.finish(reason);
}

bool WriteWholeFile(const QString& path, QByteArrayView data, QString* reason)
{
    if (!QFileInfo::exists(path))
        return CreateNewFile(path, data, reason);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(data.data(), data.size()) == data.size() && file.commit())
        return true;
    *reason = file.errorString();
    return false;
}

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace tobx
