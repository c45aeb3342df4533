// SPDX-License-Identifier: MIT
// Tobrava II extraction of arbitrary archive bytes, every question answered
// Yes. Whatever the bytes, nothing may appear outside the destination folder,
// the archive must stay as it was, and a run that ends with its done message
// must have listed every directory entry a list can carry, byte for byte.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "core/Names.h"
#include "tob/TobArchive.h"
#include "tob/TobExtract.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

// The list an extraction that ran to its end must have written: every entry
// but those whose names hold a control byte, which no list line can carry.
QByteArray expectedList(const QByteArray& archive)
{
    const quint32 directorySize = TobDirectorySize(archive);
    QByteArray list = "data.tob\r\n\r\n";
    TobDirectoryWalker walker(QByteArrayView(archive).sliced(kTobHeaderSize, directorySize));
    TobDirEntry entry;
    while (walker.next(entry)) {
        if (!HasControlByte(entry.name))
            list += entry.name.toByteArray() + "\r\n";
    }
    return list;
}

void checkNothingOutside(const QTemporaryDir& dir)
{
    const QStringList top = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    if (top != QStringList{QStringLiteral("out"), QStringLiteral("outside"), QStringLiteral("src")})
        std::abort();
    if (!QDir(dir.filePath(QStringLiteral("outside"))).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        std::abort();
    if (QDir(dir.filePath(QStringLiteral("src"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)
        != QStringList{QStringLiteral("data.tob")})
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 0;
    const QByteArray archive(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString archivePath = dir.filePath(QStringLiteral("src/data.tob"));
    QDir(dir.path()).mkpath(QStringLiteral("src"));
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    QDir(dir.path()).mkpath(QStringLiteral("outside"));
    writeFile(archivePath, archive);

    AgreeingBox box;
    StillClock clock;
    AppState state(box, clock);
    SetDstFolder(state, ExtractPane, dir.filePath(QStringLiteral("out")));
    SelectSourceFile(state, ExtractPane, archivePath, QStringLiteral("data.tob"));
    const Outcome outcome = ExtractTobArchive(state);

    checkNothingOutside(dir);
    if (readFile(archivePath) != archive)
        std::abort();
    if (outcome == Outcome::Done && readFile(dir.filePath(QStringLiteral("out/data.lst"))) != expectedList(archive))
        std::abort();
    return 0;
}
