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
#ifdef Q_OS_UNIX
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0
        || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
#else
    const QFileInfo ia(a), ib(b);
    return ia.exists() && ib.exists() && ia.canonicalFilePath().compare(ib.canonicalFilePath(), Qt::CaseInsensitive) == 0;
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

bool WriteWholeFile(const QString& path, QByteArrayView data, QString* reason)
{
    const auto fail = [&](const QFileDevice& file) {
        if (reason)
            *reason = file.errorString();
        return false;
    };
    if (QFileInfo::exists(path)) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return fail(file);
        if (file.write(data.data(), data.size()) != data.size())
            return fail(file);
        if (!file.commit())
            return fail(file);
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(file);
    if (file.write(data.data(), data.size()) != data.size() || !file.flush()) {
        const bool ok = fail(file);
        file.close();
        file.remove();
        return ok;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        fail(file);
        file.remove();
        return false;
    }
    return true;
}

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace tobx
