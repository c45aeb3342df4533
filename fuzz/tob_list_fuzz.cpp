// SPDX-License-Identifier: MIT
// Tobrava II build from arbitrary list bytes, in a folder with a few files, a
// link that leads out of it and a file outside it; every question answered
// Yes, "&Move Files" ticked for inputs of odd length. The list and everything
// outside its folder must stay as they were, nothing but the archive may be
// written, and a finished archive must be sound: its directory walks to D
// exactly and the contents fill the rest of the file exactly.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "tob/TobArchive.h"
#include "tob/TobBuild.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

void checkSound(const QByteArray& archive)
{
    if (archive.size() < kTobHeaderSize)
        std::abort();
    const quint32 directorySize = TobDirectorySize(archive);
    if (!FindTobHeaderDamage(archive.size(), directorySize).isEmpty())
        std::abort();
    const QByteArrayView directory = QByteArrayView(archive).sliced(kTobHeaderSize, directorySize);
    if (!FindTobDirectoryDamage(directory, archive.size()).isEmpty())
        std::abort();
    qint64 contents = 0;
    TobDirectoryWalker walker(directory);
    TobDirEntry entry;
    while (walker.next(entry))
        contents += entry.size;
    if (kTobHeaderSize + directorySize + contents != archive.size())
        std::abort();
}

void checkUntouched(const QTemporaryDir& dir, const QByteArray& list)
{
    const auto all = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    if (QDir(dir.path()).entryList(all) != QStringList{QStringLiteral("mod"), QStringLiteral("outdir"), QStringLiteral("outside.txt")})
        std::abort();
    if (readFile(dir.filePath(QStringLiteral("outside.txt"))) != "OUT")
        std::abort();
    if (readFile(dir.filePath(QStringLiteral("mod/data.lst"))) != list)
        std::abort();
    if (!QFileInfo(dir.filePath(QStringLiteral("mod/up"))).isSymLink())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 0;
    const QByteArray list(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString listPath = dir.filePath(QStringLiteral("mod/data.lst"));
    writeFile(listPath, list);
    writeFile(dir.filePath(QStringLiteral("mod/a.txt")), "A");
    writeFile(dir.filePath(QStringLiteral("mod/sub/b.bin")), "BB");
    writeFile(dir.filePath(QStringLiteral("mod/empty")), QByteArray());
    writeFile(dir.filePath(QStringLiteral("outside.txt")), "OUT");
    QDir(dir.path()).mkpath(QStringLiteral("outdir"));
    if (!QFile::link(dir.path(), dir.filePath(QStringLiteral("mod/up"))))
        std::abort();

    AgreeingBox box;
    StillClock clock;
    AppState state(box, clock);
    state.MoveFiles = size % 2 == 1;
    SetDstFolder(state, BuildPane, dir.filePath(QStringLiteral("outdir")));
    SelectSourceFile(state, BuildPane, listPath, QStringLiteral("data.lst"));
    RefreshBuildPane(state);
    const Outcome outcome = BuildTobArchive(state);

    checkUntouched(dir, list);
    const QStringList written = QDir(dir.filePath(QStringLiteral("outdir"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (outcome != Outcome::Done) {
        if (!written.isEmpty())
            std::abort();
        return 0;
    }
    if (written.size() != 1 || QFileInfo(state.DstFile[BuildPane].FPath).fileName() != written.first())
        std::abort();
    checkSound(readFile(state.DstFile[BuildPane].FPath));
    return 0;
}
