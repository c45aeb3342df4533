// SPDX-License-Identifier: MIT
#include "TobArchive.h"

#include "core/FileUtils.h"

#include <cstring>

namespace tobx {

TobDirectoryWalker::TobDirectoryWalker(QByteArrayView directory)
    : m_directory(directory)
{
}

bool TobDirectoryWalker::next(TobDirEntry& entry)
{
    const qsizetype left = m_directory.size() - m_cursor;
    if (left <= 0)
        return false;
    const char* start = m_directory.data() + m_cursor;
    const auto* terminator = static_cast<const char*>(std::memchr(start, '\0', size_t(left)));
    if (!terminator)
        return false;
    const qsizetype nameLength = terminator - start;
    if (nameLength + kTobRecordOverhead > left)
        return false;
    entry.name = QByteArrayView(start, nameLength);
    entry.size = DecodeLE32(m_directory, m_cursor + nameLength + 1);
    m_cursor += nameLength + kTobRecordOverhead;
    return true;
}

quint32 TobDirectorySize(QByteArrayView header)
{
    return DecodeLE32(header, 4);
}

QString FindTobHeaderDamage(qint64 fileSize, quint32 directorySize)
{
    if (fileSize < kTobHeaderSize)
        return QStringLiteral("the file (%1 bytes) is too short to hold the header").arg(fileSize);
    if (qint64(directorySize) > fileSize - kTobHeaderSize)
        return QStringLiteral("its directory (%1 bytes) runs past the end of the file (%2 bytes)")
            .arg(directorySize)
            .arg(fileSize);
    if (directorySize == 0 && fileSize > kTobHeaderSize)
        return QStringLiteral("its directory is empty, yet %1 bytes follow the header")
            .arg(fileSize - kTobHeaderSize);
    return QString();
}

QString FindTobDirectoryDamage(QByteArrayView directory, qint64 fileSize)
{
    TobDirectoryWalker walker(directory);
    TobDirEntry entry;
    quint64 contentSize = 0; // 2^32 records of 2^32 bytes cannot overflow it
    qint64 records = 0;
    while (!walker.atEnd()) {
        if (!walker.next(entry))
            return QStringLiteral("entry %1 of its directory runs past the end of the directory (%2 bytes)")
                .arg(records + 1)
                .arg(directory.size());
        contentSize += entry.size;
        ++records;
    }
    const qint64 dataAreaSize = fileSize - kTobHeaderSize - directory.size();
    if (contentSize > quint64(qMax<qint64>(dataAreaSize, 0)))
        return QStringLiteral("the contents of its %1 entries (%2 bytes) run past the end of the file (%3 bytes)")
            .arg(records)
            .arg(contentSize)
            .arg(fileSize);
    return QString();
}

void AppendTobDirEntry(StringConcat& directory, QByteArrayView name, quint32 size)
{
    char record[kTobRecordOverhead] = {'\0'};
    const QByteArray sizeBytes = EncodeLE32(size);
    std::memcpy(record + 1, sizeBytes.constData(), 4);
    directory.Add(name);
    directory.Add(QByteArrayView(record, kTobRecordOverhead));
}

QByteArray TobHeader(QByteArrayView magic, quint32 directorySize)
{
    QByteArray header = magic.toByteArray();
    AppendLE32(header, directorySize);
    return header;
}

} // namespace tobx
