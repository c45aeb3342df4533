#include "FileSystem.h"

#include <QCoreApplication>
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

bool LinkOnPathBelow(const QString& root, const QString& relative)
{
    QString path = root;
    for (const QString& level : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!path.endsWith(QLatin1Char('/')))
            path += QLatin1Char('/');
        path += level;
        const QFileInfo info(path);
        if (info.isSymLink())
            return true;
        if (!info.exists())
            return false;
    }
    return false;
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
