// SPDX-License-Identifier: MIT
// The Tobrava I converter's step on arbitrary bytes and names, in memory: the
// first byte gives the length of the chosen name (UTF-8, without the folder
// separator and 0x00 that no file name holds), the rest is the picture. The
// name and size checks refuse exactly the names and sizes that are too short;
// the output lies beside the chosen file, named with "jpg" for its last three
// characters; the picture is the JFIF prefix and the input unchanged, and
// detection takes it for a JPEG whatever the input held.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "detect/QualifySrcFile.h"
#include "tob1/Tob1Converter.h"

#include <QFileInfo>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

constexpr qsizetype kShortestName = 5;
constexpr qsizetype kSmallestPicture = 11;

void checkRefusal(const QString& name, qsizetype size)
{
    const QString refusal = Tob1Refusal(name, double(size));
    const QString expected = name.size() < kShortestName ? QStringLiteral("extension problem...")
        : size < kSmallestPicture                        ? QStringLiteral("File too small or...")
                                                         : QString();
    if (refusal != expected)
        std::abort();
    // A size that cannot be had is refused like a small one.
    if (name.size() >= kShortestName && Tob1Refusal(name, -1) != QStringLiteral("File too small or..."))
        std::abort();
}

void checkOutputPath(const QString& chosenPath)
{
    const QString output = Tob1OutputPath(chosenPath);
    if (output.size() != chosenPath.size() || !output.endsWith(QLatin1String("jpg"))
        || output.chopped(3) != chosenPath.chopped(3))
        std::abort();
    if (QFileInfo(output).path() != QFileInfo(chosenPath).path())
        std::abort();
}

void checkPicture(AppState& state, RecordingBox& box, QByteArrayView picture)
{
    const QByteArray jpeg = Tob1ToJpeg(state, picture);
    if (jpeg.size() != picture.size() + 10 || !jpeg.startsWith(state.SrcSig[2]) || QByteArrayView(jpeg).sliced(10) != picture)
        std::abort();
    box.shown.clear();
    const auto noList = []() -> std::optional<QByteArray> { std::abort(); };
    if (QualifySrcHead(state, jpeg, QStringLiteral("jpg"), noList) != TypeJpeg || !box.shown.isEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FreshRun run;
    AppState& state = run->state;
    RecordingBox& box = run->box;

    InputCutter input(data, size);
    QString name = QString::fromUtf8(input.piece(input.byte() % 32));
    name.remove(QLatin1Char('/'));
    name.remove(QChar(0));
    const ExactBytes picture(input.rest());
    const QString chosenPath = QStringLiteral("/pics/") + name;

    checkRefusal(name, picture.view().size());
    if (Tob1Refusal(name, double(picture.view().size())).isEmpty()) {
        checkOutputPath(chosenPath);
        checkPicture(state, box, picture.view());
    }
    return 0;
}
