// SPDX-License-Identifier: MIT
#pragma once
// The Tobrava II archive layout: "VXBG", the directory size D (LE32), D bytes
// of directory records (name, 0x00, size as LE32), then the contents back to
// back in directory order. The archive carries no counts, offsets or checksum,
// so a reader must prove every length against the file before it trusts one.

#include "core/StringConcat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tobx {

inline constexpr qint64 kTobHeaderSize = 8;
// The 0x00 after a name and the four size bytes.
inline constexpr qint64 kTobRecordOverhead = 5;

struct TobDirEntry {
    QByteArrayView name; // points into the directory bytes
    quint32 size = 0;
};

// Walks the records of a directory held in memory, front to back.
class TobDirectoryWalker {
public:
    explicit TobDirectoryWalker(QByteArrayView directory);

    bool atEnd() const { return m_cursor >= m_directory.size(); }
    // The next record; false when it does not end inside the directory.
    bool next(TobDirEntry& entry);

private:
    QByteArrayView m_directory;
    qsizetype m_cursor = 0;
};

// D from the eight header bytes.
quint32 TobDirectorySize(QByteArrayView header);

// What is wrong with a header of an archive of fileSize bytes, or an empty
// text when the directory it announces fits in the file.
QString FindTobHeaderDamage(qint64 fileSize, quint32 directorySize);

// What is wrong with a whole directory, or an empty text when every record
// ends inside it and the contents it announces fit in the file.
QString FindTobDirectoryDamage(QByteArrayView directory, qint64 fileSize);

// One record at the end of a directory under construction.
void AppendTobDirEntry(StringConcat& directory, QByteArrayView name, quint32 size);

// The eight header bytes: the magic and the directory size.
QByteArray TobHeader(QByteArrayView magic, quint32 directorySize);

} // namespace tobx
