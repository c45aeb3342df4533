#include "Tob1Converter.h"

#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"

#include <QDir>
#include <QFileInfo>

namespace tobx {

namespace {

// Shorter names cannot hold a stem, a full stop and a three-letter extension.
constexpr qsizetype kShortestName = 5;
// A picture needs at least one byte beyond the ten that were cut off.
constexpr double kSmallestPicture = 11;

bool confirmReplace(AppState& state, const QString& outputPath)
{
    if (!QFileInfo::exists(outputPath))
        return true;
    const QString name = QFileInfo(outputPath).fileName();
    return state.show(QStringLiteral("File: ") + name + QStringLiteral(" exist.\nDo you want to overwrite?"),
                      QStringLiteral("File Exist"), MsgIcon::Question, MsgButtons::YesNo, MsgResult::No)
        == MsgResult::Yes;
}

} // namespace

Outcome ConvertTob1Picture(AppState& state, const QString& chosenPath, const QString& bareName)
{
    if (bareName.size() < kShortestName) {
        state.show(QStringLiteral("extension problem..."));
        return Outcome::Stopped;
    }
    const double size = GetFileSize(chosenPath);
    if (size < kSmallestPicture) { // -1 included: the size cannot be had
        state.show(QStringLiteral("File too small or..."));
        return Outcome::Stopped;
    }
    const QString outputPath = chosenPath.chopped(3) + QStringLiteral("jpg");
    // A ".jpg" chosen would be read and then replaced by itself with ten more bytes.
    if (SameFile(outputPath, chosenPath)) {
        state.show(QStringLiteral("The converted picture would replace the chosen file itself:\n")
                       + QDir::toNativeSeparators(chosenPath)
                       + QStringLiteral("\nChoose a .toj picture."),
                   QStringLiteral("ERROR"), MsgIcon::Critical);
        return Outcome::Stopped;
    }
    // The picture goes beside the chosen file, and never through a link there.
    const QFileInfo output(outputPath);
    const QString refusal = OutputPathRefusal(output.path(), output.fileName());
    if (!refusal.isEmpty()) {
        state.showIoError(QStringLiteral("Cannot write the file"), outputPath, refusal);
        return Outcome::Stopped;
    }
    if (!confirmReplace(state, outputPath))
        return Outcome::Cancelled;
    QString reason;
    const std::optional<QByteArray> picture = ReadWholeFile(chosenPath, &reason);
    if (!picture) {
        state.showIoError(QStringLiteral("Cannot read the file"), chosenPath, reason);
        return Outcome::Stopped;
    }
    const QByteArray converted = state.SrcSig[2] + *picture;
    if (!WriteWholeFile(outputPath, converted, &reason)) {
        state.showIoError(QStringLiteral("Cannot write the file"), outputPath, reason);
        return Outcome::Stopped;
    }
    return Outcome::Done;
}

} // namespace tobx
