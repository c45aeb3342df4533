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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    if (file.write(data.data(), data.size()) == data.size()) {
        file.close();
        if (file.error() == QFileDevice::NoError)
            return true;
    }
    *reason = file.errorString();
    file.close();
    file.remove();
    return false;
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

bool ReadExactly(QFile& file, char* into, qint64 size, QString* reason)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(into + done, size - done);
        if (got < 0) {
            *reason = file.errorString();
            return false;
        }
        if (got == 0) {
            *reason = QStringLiteral("The file ended %1 bytes early.").arg(size - done);
            return false;
        }
        done += got;
    }
    return true;
}

FilePiece::~FilePiece()
{
    release();
}

void FilePiece::release()
{
    if (m_map)
        m_mappedFile->unmap(m_map);
    m_map = nullptr;
    m_mappedFile = nullptr;
    m_bytes = QByteArrayView();
}

bool FilePiece::load(QFile& file, qint64 offset, qint64 size, QString* reason)
{
    release();
    if (size == 0)
        return true;
    // Mapping costs more than a read for a small piece; it pays off once the
    // second copy of a read would cost more than setting up the mapping.
    constexpr qint64 kSmallestMappedPiece = 1 << 20;
    uchar* map = size >= kSmallestMappedPiece ? file.map(offset, size) : nullptr;
    if (map) {
        m_map = map;
        m_mappedFile = &file;
        m_bytes = QByteArrayView(reinterpret_cast<const char*>(map), size);
        return true;
    }
    if (size > m_buffer.capacity())
        m_buffer = QByteArray(); // the old room goes before the new one is taken
    m_buffer.resize(size);
    if (file.pos() != offset && !file.seek(offset)) {
        *reason = file.errorString();
        return false;
    }
    if (!ReadExactly(file, m_buffer.data(), size, reason))
        return false;
    m_bytes = QByteArrayView(m_buffer.constData(), size);
    return true;
}

} // namespace tobx
