// SPDX-License-Identifier: MIT
#include "Tob1Converter.h"

#include "core/FileCopy.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/Names.h"

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
    // One picture per run: an answer for all is the answer for this one.
    AnswerForAll overwrite;
    return overwrite.ask(state.messages, {QStringLiteral("File: ") + name + QStringLiteral(" exist.\nDo you want to overwrite?"),
                                          QStringLiteral("File Exist"), MsgIcon::Question, MsgButtons::YesNoToAll,
                                          MsgResult::No})
        == MsgResult::Yes;
}

bool openOutput(OutputFile& output, const QString& outputPath, QString* reason)
{
    switch (output.createNew(outputPath, reason)) {
    case OutputFile::Created::Yes:
        return true;
    case OutputFile::Created::Exists: // the user agreed to replace it
        return output.openReplacing(outputPath, reason);
    case OutputFile::Created::Failed:
        break;
    }
    return false;
}

// The prefix, then the whole picture copied behind it.
Outcome writeConverted(AppState& state, const QString& chosenPath, const QString& bareName, const QString& outputPath)
{
    QString reason;
    InputFile picture;
    if (!picture.open(chosenPath, InputFile::Links::Follow, &reason)) {
        state.showIoError(QStringLiteral("Cannot read the file"), chosenPath, reason);
        return Outcome::Stopped;
    }
    // The one picture is the run's one entry boundary: a cancel before it writes nothing.
    const qint64 convertedSize = state.SrcSig[2].size() + picture.size();
    state.progress.start(1, convertedSize);
    if (!state.progress.next(PathToName(bareName), convertedSize))
        return Outcome::Cancelled;
    OutputFile output;
    FileCopier copier;
    if (!openOutput(output, outputPath, &reason) || !output.write(state.SrcSig[2], &reason)) {
        state.showIoError(QStringLiteral("Cannot write the file"), outputPath, reason);
        return Outcome::Stopped;
    }
    const FileCopier::Status copied = copier.copy(picture, 0, picture.size(), output, &reason);
    if (copied == FileCopier::Status::SourceEnded || copied == FileCopier::Status::ReadFailed) {
        state.showIoError(QStringLiteral("Cannot read the file"), chosenPath, reason);
        return Outcome::Stopped;
    }
    if (copied != FileCopier::Status::Done || !output.finish(&reason)) {
        state.showIoError(QStringLiteral("Cannot write the file"), outputPath, reason);
        return Outcome::Stopped;
    }
    state.progress.finish();
    return Outcome::Done;
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
    return writeConverted(state, chosenPath, bareName, outputPath);
}

} // namespace tobx
