// SPDX-License-Identifier: MIT
// The Tobrava II header and directory reader on arbitrary archive bytes, in
// memory, in the order the extraction takes them: the header, then the
// directory it announces, then every record. What the reader accepts must lie
// wholly inside the file, encode back to the very same bytes, and list as
// names that the build reads back unchanged; a name it lets be extracted must
// stay below the destination folder.
#include "FuzzSupport.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "core/StringConcat.h"
#include "tob/TobArchive.h"

#include <QDir>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

// The reader's verdict on a header must follow from the sizes alone.
void checkHeaderVerdict(qint64 fileSize, quint32 directorySize, bool refused)
{
    const bool tooShort = fileSize < kTobHeaderSize;
    const bool pastEnd = !tooShort && qint64(directorySize) > fileSize - kTobHeaderSize;
    const bool emptyButData = !tooShort && directorySize == 0 && fileSize > kTobHeaderSize;
    if (refused != (tooShort || pastEnd || emptyButData))
        std::abort();
}

struct Walk {
    QList<TobDirEntry> entries;
    qsizetype consumed = 0; // directory bytes the records cover
    bool complete = false;  // the last record ends exactly at the end of the directory
};

Walk walkDirectory(QByteArrayView directory)
{
    Walk walk;
    TobDirectoryWalker walker(directory);
    TobDirEntry entry;
    while (walker.next(entry)) {
        // A name lies inside the directory, right where the walk stands, and
        // holds no 0x00: its terminator ends it.
        if (entry.name.data() != directory.data() + walk.consumed || entry.name.contains('\0'))
            std::abort();
        walk.consumed += entry.name.size() + kTobRecordOverhead;
        if (walk.consumed > directory.size())
            std::abort();
        walk.entries.append(entry);
    }
    walk.complete = walker.atEnd();
    if (walk.complete != (walk.consumed == directory.size()))
        std::abort();
    return walk;
}

// Every entry's content lies between the end of the directory and the end of
// the file, back to back in directory order.
void checkContentsInside(const Walk& walk, qint64 fileSize, qint64 directorySize)
{
    qint64 position = kTobHeaderSize + directorySize;
    for (const TobDirEntry& entry : walk.entries) {
        if (position + qint64(entry.size) > fileSize)
            std::abort();
        position += entry.size;
    }
}

// The writer's side encodes what the reader accepted into the same bytes.
void checkReencoding(const Walk& walk, QByteArrayView head, QByteArrayView directory)
{
    StringConcat rebuilt;
    for (const TobDirEntry& entry : walk.entries)
        AppendTobDirEntry(rebuilt, entry.name, entry.size);
    if (rebuilt.GetStr() != directory)
        std::abort();
    if (TobHeader(head.first(4), quint32(directory.size())) != head)
        std::abort();
}

// A name the build's list reader gives back as it is: not empty, no comma or
// line end in it, no blank in front.
bool listable(QByteArrayView name)
{
    return !name.isEmpty() && name.front() != ' ' && name.front() != '\t' && !name.contains(',')
        && !name.contains('\r') && !name.contains('\n');
}

// The list an extraction writes, read the way the build reads it.
void checkListRoundTrip(const Walk& walk)
{
    QByteArray list = "data.tob\r\n\r\n";
    for (const TobDirEntry& entry : walk.entries) {
        if (!listable(entry.name))
            return;
        list += entry.name.toByteArray() + "\r\n";
    }
    const ExactBytes text(list);
    ListFieldReader reader(text.array());
    QByteArray field;
    if (!reader.next(field) || field != "data.tob")
        std::abort();
    qsizetype at = 0;
    while (reader.next(field)) {
        if (field.isEmpty())
            continue;
        if (at >= walk.entries.size() || field != walk.entries.at(at).name)
            std::abort();
        ++at;
    }
    if (at != walk.entries.size())
        std::abort();
}

// A name the extraction takes lands strictly below the destination folder.
void checkSafeNamesStayInside(const Walk& walk)
{
    const QString root = QStringLiteral("/x/dest");
    for (const TobDirEntry& entry : walk.entries) {
        if (!IsSafeRelativeName(entry.name))
            continue;
        const QString path = QDir::cleanPath(root + QLatin1Char('/') + NameToPath(entry.name));
        if (!path.startsWith(root + QLatin1Char('/')) || path.size() <= root.size() + 1)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView archive(reinterpret_cast<const char*>(data), qsizetype(size));
    const qint64 fileSize = archive.size();
    quint32 directorySize = 0;
    std::optional<ExactBytes> head;
    if (fileSize >= kTobHeaderSize) {
        head.emplace(archive.first(kTobHeaderSize));
        directorySize = TobDirectorySize(head->view());
    }
    const bool headerRefused = !FindTobHeaderDamage(fileSize, directorySize).isEmpty();
    checkHeaderVerdict(fileSize, directorySize, headerRefused);
    if (headerRefused)
        return 0;

    const ExactBytes directory(archive.sliced(kTobHeaderSize, directorySize));
    const bool directoryRefused = !FindTobDirectoryDamage(directory.view(), fileSize).isEmpty();
    const Walk walk = walkDirectory(directory.view());
    quint64 contentSize = 0;
    for (const TobDirEntry& entry : walk.entries)
        contentSize += entry.size;
    const bool contentsFit = contentSize <= quint64(fileSize - kTobHeaderSize - directorySize);
    if (directoryRefused != (!walk.complete || !contentsFit))
        std::abort();
    if (directoryRefused)
        return 0;

    checkContentsInside(walk, fileSize, directorySize);
    checkReencoding(walk, head->view(), directory.view());
    checkListRoundTrip(walk);
    checkSafeNamesStayInside(walk);
    return 0;
}
