// SPDX-License-Identifier: MIT
// Rollcage extraction on arbitrary index and image bytes. The first byte picks
// the options and tweaks, the next two the index length; the rest of the input
// is split into the index and the image. Whenever the list is written without
// tweaks it must read back into exactly the records of the index.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "rollcage/RcExtract.h"
#include "rollcage/RcFormat.h"
#include "rollcage/RcTweakModel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

enum OptionBit : quint8 {
    ListOnly = 1,
    UseTweaks = 2,
    SemiFull = 4,
    PlayableTrack = 8,
    ScrambleTrack = 16,
    CreditsAsLoading = 32,
    NoImage = 64,
};

void chooseTweaks(quint8 options, RcTweakModel& model)
{
    model.open(Rc2DemoPC);
    if (options & SemiFull)
        model.click(3);
    if (options & PlayableTrack)
        model.click(1);
    if (options & ScrambleTrack)
        model.click(2);
    if (options & CreditsAsLoading)
        model.click(4);
}

// The list's rows carry the index records unchanged, in index order.
void checkListMatchesIndex(const QString& listPath, const QByteArray& index)
{
    const std::optional<QByteArray> text = ReadWholeFile(listPath);
    if (!text)
        return;
    QByteArray rebuilt;
    for (const RcRow& row : ParseRcList(*text).rows) {
        RcRecord record;
        quint32* fields[] = {&record.offset, &record.length, &record.word3, &record.word4};
        for (int column = RcColOffset; column <= RcColWord4; ++column)
            *fields[column - RcColOffset] = ParseRcValue(row[column]).value_or(0xDEADBEEF);
        AppendRcRecord(rebuilt, record);
    }
    if (rebuilt != index.right(RcRecordCount(index.size()) * RcRecordSize))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir root;
    if (size < 3 || !root.isValid())
        return 0;
    const quint8 options = data[0];
    const std::size_t indexSize = std::min<std::size_t>(data[1] | std::size_t(data[2]) << 8, size - 3);
    const QByteArray index(reinterpret_cast<const char*>(data + 3), qsizetype(indexSize));
    const QByteArray image(reinterpret_cast<const char*>(data + 3 + indexSize), qsizetype(size - 3 - indexSize));

    QDir work(root.filePath(QStringLiteral("work")));
    work.removeRecursively();
    QDir().mkpath(work.filePath(QStringLiteral("src")));
    QDir().mkpath(work.filePath(QStringLiteral("dest")));
    const QString indexPath = work.filePath(QStringLiteral("src/RC.IDX"));
    writeFile(indexPath, index);
    if (!(options & NoImage))
        writeFile(work.filePath(QStringLiteral("src/RC.img")), image);

    AgreeingBox box;
    StillClock clock;
    AppState state(box, clock);
    SetDstFolder(state, ExtractPane, work.filePath(QStringLiteral("dest")));
    SelectSourceFile(state, ExtractPane, indexPath, QStringLiteral("RC.IDX"));
    state.CreateLstOnly = options & ListOnly;
    state.UseTweaks = options & UseTweaks;
    RcTweakModel model;
    if (state.UseTweaks)
        chooseTweaks(options, model);

    ExtractRcArchive(state, model);
    if (!state.UseTweaks && index.size() >= 8)
        checkListMatchesIndex(state.DstFile[ExtractPane].FPath, index);
    return 0;
}
