// SPDX-License-Identifier: MIT
// Source type detection on arbitrary first bytes with arbitrary names, in
// memory: the first byte gives the length of the name (UTF-8, as a dialog may
// return it), the next one whether the head holds just the first ten bytes or
// the whole file, and whether the list's first line can be read; the rest is
// the file. Detection must read no byte past those it is given, ask for the
// list's text only for a ".lst" after no signature matched, return a code of
// the legend, say at most one thing, and decide as the signature table says.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "detect/QualifySrcFile.h"

using namespace tobx;
using namespace tobx::fuzz;

namespace {

constexpr qsizetype kHeadSize = 10;

// The code the signature table gives, from the first ten bytes, the extension
// and, for a list, the first field.
quint8 expectedType(const AppState& state, QByteArrayView head, const QString& ext,
                    const std::optional<QByteArray>& field)
{
    if (head.size() < kHeadSize)
        return TypeUnknown;
    head = head.first(kHeadSize);
    if (head.startsWith(state.SrcSig[0]))
        return TypeTobArchive;
    if (head.startsWith(state.SrcSig[1]))
        return ext == QLatin1String("bik") ? TypeBik : TypeTob1Video;
    if (head == state.SrcSig[2])
        return TypeJpeg;
    if (ext == QLatin1String("toj"))
        return TypeTob1Picture;
    if (ext == QLatin1String("idx"))
        return TypeRcIndex;
    if (ext == QLatin1String("img"))
        return head.startsWith("GT20") ? TypeRcImage : TypeUnknown;
    if (ext != QLatin1String("lst") || !field)
        return TypeUnknown;
    const QByteArray ending = field->right(4).toLower();
    return ending == ".tob" ? TypeTobList : ending == ".idx" ? TypeRcList : TypeUnknown;
}

bool listTextWanted(const AppState& state, QByteArrayView head, const QString& ext)
{
    return head.size() >= kHeadSize && ext == QLatin1String("lst") && !head.startsWith(state.SrcSig[0])
        && !head.startsWith(state.SrcSig[1]) && head.first(kHeadSize) != state.SrcSig[2];
}

// The Extract pane's list is named after the source: its extension becomes
// "lst", a name without one gets ".lst"; it lies in the destination folder.
void checkListName(const AppState& state, const QString& name)
{
    const PATHS& dst = state.DstFile[ExtractPane];
    if (!name.isEmpty() && !dst.FName.endsWith(QLatin1String("lst")))
        std::abort();
    if (dst.FPath != JoinPath(dst.FDir, dst.FName))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FreshRun run;
    AppState& state = run->state;
    RecordingBox& box = run->box;

    InputCutter input(data, size);
    const QByteArrayView nameBytes = input.piece(input.byte() % 48);
    const quint8 how = input.byte();
    const QByteArrayView file = input.rest();
    const QString name = QString::fromUtf8(nameBytes);
    state.DstFile[ExtractPane].FDir = QStringLiteral("/dest");
    SelectSourceFile(state, ExtractPane, QStringLiteral("/src/") + name, name);
    checkListName(state, name);
    const QString ext = state.SrcFile[ExtractPane].FExt;
    if (ext != GetFileExt(name) || ext != ext.toLower())
        std::abort();

    // A file too small has no head at all, as the file step passes it.
    const ExactBytes head(file.size() < kHeadSize ? QByteArrayView() : (how & 1) ? file : file.first(kHeadSize));
    const bool lineReadable = !(how & 2);
    // The list's first line as a line read gives it: up to its LF.
    const qsizetype lf = file.indexOf('\n');
    const ExactBytes firstLine(lf < 0 ? file : file.first(lf + 1));
    int fieldReads = 0;
    const FirstFieldSource firstField = [&]() -> std::optional<QByteArray> {
        ++fieldReads;
        if (!lineReadable)
            return std::nullopt;
        return FirstListField(firstLine.array());
    };

    const quint8 type = QualifySrcHead(state, head.view(), ext, firstField);
    if (FTypeLegendEntry(type).isEmpty() || box.shown.size() > 1)
        std::abort();
    if (fieldReads != (listTextWanted(state, head.view(), ext) ? 1 : 0))
        std::abort();
    const std::optional<QByteArray> field = lineReadable ? std::optional(FirstListField(firstLine.array())) : std::nullopt;
    if (type != expectedType(state, head.view(), ext, field))
        std::abort();
    if (head.view().size() < kHeadSize && (box.shown.size() != 1 || box.shown.first().icon != MsgIcon::Critical))
        std::abort();
    return 0;
}
