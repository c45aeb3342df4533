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

QString Tob1Refusal(const QString& bareName, double size)
{
    if (bareName.size() < kShortestName)
        return QStringLiteral("extension problem...");
    if (size < kSmallestPicture) // -1 included: the size cannot be had
        return QStringLiteral("File too small or...");
    return QString();
}

QString Tob1OutputPath(const QString& chosenPath)
{
    return chosenPath.chopped(qMin<qsizetype>(3, chosenPath.size())) + QStringLiteral("jpg");
}

QByteArray Tob1ToJpeg(const AppState& state, QByteArrayView picture)
{
    QByteArray jpeg;
    jpeg.reserve(state.SrcSig[2].size() + picture.size());
    jpeg.append(state.SrcSig[2]).append(picture);
    return jpeg;
}

Outcome ConvertTob1Picture(AppState& state, const QString& chosenPath, const QString& bareName)
{
    const QString nameOrSize = Tob1Refusal(bareName, GetFileSize(chosenPath));
    if (!nameOrSize.isEmpty()) {
        state.show(nameOrSize);
        return Outcome::Stopped;
    }
    const QString outputPath = Tob1OutputPath(chosenPath);
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
    const QByteArray converted = Tob1ToJpeg(state, *picture);
    if (!WriteWholeFile(outputPath, converted, &reason)) {
        state.showIoError(QStringLiteral("Cannot write the file"), outputPath, reason);
        return Outcome::Stopped;
    }
    return Outcome::Done;
}

} // namespace tobx
