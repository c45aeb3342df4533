// SPDX-License-Identifier: MIT
#include "RcExtract.h"

#include "RcCatalogue.h"
#include "RcFormat.h"
#include "RcTweakModel.h"
#include "RcTweaks.h"
#include "core/FileCopy.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"

#include <QFile>
#include <QStringList>

#include <limits>
#include <optional>

namespace tobx {

namespace {

constexpr double kMinIndexSize = 8;
constexpr double kMaxIndexSize = 1048576;
constexpr int kSemiFullCheck = 3; // chkTweak(3), "Convert Demo to Semi Full version"

using EntryTable = RcEntryTable;

struct ExtractRun {
    AppState& state;
    const RcTweakModel& tweaks;
    bool semiFull = false;
    QString indexPath;
    QString listPath;
    QString destDir;
};

// The full-version number of a row, or -1 when the table follows neither the
// full nor the demo numbering.
int fullNumber(int row, qsizetype rowCount)
{
    if (rowCount == RcFullEntryCount)
        return row;
    if (rowCount == RcDemoEntryCount)
        return RcDemoToFull(qint16(row));
    return -1;
}

// Tweaks only know rows up to 289; larger tables are asked nothing beyond the
// range of a row number, where every answer would be "-" anyway.
bool fitsRowNumber(qsizetype row)
{
    return row <= std::numeric_limits<qint16>::max();
}

// Shared by every row that shows them, so that a table of hundreds of rows
// does not make a copy of each.
const QByteArray kNoField = QByteArrayLiteral("-");
const QByteArray kZeroField = QByteArrayLiteral("0");

QByteArray redirectFor(const ExtractRun& run, int row)
{
    if (run.state.UseTweaks && fitsRowNumber(row)) {
        const QByteArray tweak = RcTweakRedirect(run.tweaks, qint16(row));
        if (tweak != "-")
            return tweak;
    }
    if (run.semiFull)
        return RcSemiFullRedirect(run.tweaks, qint16(row));
    return kNoField;
}

RcRow emptyRow(const ExtractRun& run, int row, qsizetype rowCount)
{
    RcRow fields;
    fields[RcColRedirect] = redirectFor(run, row);
    fields[RcColNumber] = RcRowText(row);
    fields[RcColOrigin] = fields[RcColFileName] = kNoField;
    fields[RcColOffset] = fields[RcColLength] = fields[RcColWord3] = fields[RcColWord4] = kZeroField;
    const int full = fullNumber(row, rowCount);
    if (full < 0) {
        fields[RcColTypeCode] = fields[RcColDescription] = kNoField;
    } else {
        const RcEntryText info = RcEntryInfo(qint16(full));
        fields[RcColTypeCode] = info.typeCode;
        fields[RcColDescription] = info.description;
    }
    return fields;
}

// The row a record goes to: its own position, or with the semi-full conversion
// the full-version row of the demo content it holds.
qsizetype targetRow(const ExtractRun& run, qsizetype recordNumber)
{
    if (run.semiFull && recordNumber < RcDemoEntryCount)
        return RcDemoToFull(qint16(recordNumber));
    return recordNumber;
}

void placeRecord(const ExtractRun& run, EntryTable& table, qsizetype recordNumber, const RcRecord& record)
{
    const qsizetype target = targetRow(run, recordNumber);
    if (target >= table.rows.size()) {
        ++table.recordsLeftOut;
        return;
    }
    RcRow& fields = table.rows[target];
    fields[RcColOrigin] = run.semiFull && target != recordNumber ? "from " + QByteArray::number(recordNumber)
                                                                 : kNoField;
    fields[RcColFileName] = RcEntryFileName(int(target));
    fields[RcColOffset] = QByteArray::number(record.offset);
    fields[RcColLength] = QByteArray::number(record.length);
    fields[RcColWord3] = QByteArray::number(record.word3);
    fields[RcColWord4] = QByteArray::number(record.word4);
    table.records[target] = record;
}

EntryTable buildTable(const ExtractRun& run, const QByteArray& index)
{
    const qsizetype recordCount = RcRecordCount(index.size());
    const qsizetype rowCount = run.semiFull ? RcFullEntryCount : recordCount;
    EntryTable table;
    table.rows.reserve(rowCount);
    for (int row = 0; row < rowCount; ++row)
        table.rows.append(emptyRow(run, row, rowCount));
    table.records.resize(rowCount);
    // From the last record to the first, so that where two records land in the
    // same row the one nearer the start of the index stays.
    for (qsizetype k = recordCount - 1; k >= 0; --k)
        placeRecord(run, table, k, ReadRcRecord(index, RcRecordPosition(index.size(), k)));
    return table;
}

} // namespace

QByteArray RcListText(AppState& state, const RcEntryTable& table)
{
    QByteArray text = RcListHeader(PathToName(state.SrcFile[ExtractPane].FName));
    const qsizetype rowCount = table.rows.size();
    for (int row = 0; row < rowCount; ++row) {
        const QByteArray line = FormatRcListRow(table.rows[row]);
        state.lstSrcFiles[ExtractPane].append(NameToText(line));
        text += line + "\r\n";
        if (fullNumber(row, rowCount) >= 0 && IsRcGroupEnd(fullNumber(row, rowCount)))
            text += "\r\n";
    }
    return text;
}

namespace {

bool semiFullChosen(const AppState& state, const RcTweakModel& tweaks)
{
    return state.UseTweaks && tweaks.active(kSemiFullCheck);
}

std::optional<QByteArray> readIndex(AppState& state, const QString& indexPath)
{
    const auto tooSmallOrBig = [&]() -> std::optional<QByteArray> {
        state.show(QStringLiteral("File not found or file is empty or file is too small or too big."),
                   QStringLiteral("ERROR"), MsgIcon::Critical);
        return std::nullopt;
    };
    const double size = GetFileSize(indexPath);
    if (size < kMinIndexSize || size > kMaxIndexSize)
        return tooSmallOrBig();
    std::optional<QByteArray> index = ReadWholeFile(indexPath);
    // Unreadable counts as missing, and a file that changed size since is
    // checked again.
    if (!index || index->size() < kMinIndexSize || index->size() > kMaxIndexSize)
        return tooSmallOrBig();
    return index;
}

// Writing must not follow a link out of the destination folder, nor replace
// the very files being extracted.
std::optional<QString> refusalToWrite(const ExtractRun& run, const QString& path, const QString& name,
                                      const QString& imagePath)
{
    const QString refusal = OutputPathRefusal(run.destDir, name);
    if (!refusal.isEmpty())
        return refusal;
    if (SameFile(path, run.indexPath) || SameFile(path, imagePath))
        return QStringLiteral("This is the index or image file being extracted.");
    return std::nullopt;
}

// The list's first line must name the index as a build will find it again.
bool checkListName(AppState& state)
{
    const QString indexName = state.SrcFile[ExtractPane].FName;
    const QString problem = ListNameProblem(indexName);
    if (problem.isEmpty())
        return true;
    state.show(QStringLiteral("The index's name cannot be written into the list file: ") + indexName
                   + QLatin1Char('\n') + problem
                   + QStringLiteral("\nA build from that list would name the index differently. "
                                    "Rename the index and its image and extract them again."),
               QStringLiteral("ERROR"), MsgIcon::Critical);
    return false;
}

// The list goes to a temporary file now and takes its name when the run ends.
bool startList(const ExtractRun& run, ListFileWriter& list, const QByteArray& text, const QString& imagePath)
{
    const QString name = run.state.DstFile[ExtractPane].FName;
    QString reason;
    if (const std::optional<QString> refusal = refusalToWrite(run, run.listPath, name, imagePath))
        reason = *refusal;
    else if (list.open(&reason) && list.append(text, &reason))
        return true;
    run.state.showIoError(QStringLiteral("Cannot write the list file"), run.listPath, reason);
    return false;
}

bool commitList(const ExtractRun& run, ListFileWriter& list)
{
    QString reason;
    if (list.commit(&reason))
        return true;
    run.state.showIoError(QStringLiteral("Cannot write the list file"), run.listPath, reason);
    return false;
}

void reportLeftOut(AppState& state, qsizetype recordsLeftOut)
{
    if (recordsLeftOut == 0)
        return;
    state.show(QStringLiteral("%1 index records lie beyond row %2 of the semi full version; "
                              "they are not in the list and are not extracted.")
                   .arg(recordsLeftOut)
                   .arg(RcFullEntryCount - 1),
               QString(), MsgIcon::Information);
}

enum class Answer { Write, Skip, Cancel };

Answer askOverwrite(AppState& state, AnswerForAll& overwrite, const QByteArray& fileName)
{
    const MsgResult answer = overwrite.ask(state.messages,
                                           {QStringLiteral("File: ") + NameToText(fileName)
                                                + QStringLiteral(" exist.\nDo you want to overwrite?"),
                                            QStringLiteral("File Exist"), MsgIcon::Question,
                                            MsgButtons::YesNoCancelToAll, MsgResult::No});
    if (answer == MsgResult::Cancel)
        return Answer::Cancel;
    return answer == MsgResult::Yes ? Answer::Write : Answer::Skip;
}

bool reachesPastImage(const RcRecord& record, qint64 imageSize)
{
    return quint64(record.offset) + record.length > quint64(imageSize);
}

enum class EntryResult { Written, Skipped, Cancelled, CutShort, Failed };

// Opens the entry's file: created where nothing is; a name that is taken is
// looked at only then, refused when writing there would be unsafe, and
// replaced after the user agrees.
EntryResult openEntryFile(const ExtractRun& run, const InputFile& image, AnswerForAll& overwrite,
                          const QByteArray& fileName, const QString& target, OutputFile& file)
{
    QString reason;
    switch (file.createNew(target, &reason)) {
    case OutputFile::Created::Yes:
        return EntryResult::Written;
    case OutputFile::Created::Failed:
        run.state.showIoError(QStringLiteral("Cannot write"), target, reason);
        return EntryResult::Failed;
    case OutputFile::Created::Exists:
        break;
    }
    if (const std::optional<QString> refusal = refusalToWrite(run, target, NameToPath(fileName), image.path())) {
        run.state.showIoError(QStringLiteral("Cannot write"), target, *refusal);
        return EntryResult::Failed;
    }
    if (GetFileSize(target) >= 0) {
        const Answer answer = askOverwrite(run.state, overwrite, fileName);
        if (answer != Answer::Write)
            return answer == Answer::Cancel ? EntryResult::Cancelled : EntryResult::Skipped;
    }
    if (file.openReplacing(target, &reason))
        return EntryResult::Written;
    run.state.showIoError(QStringLiteral("Cannot write"), target, reason);
    return EntryResult::Failed;
}

// The one place where an entry's bytes are copied. An image that became
// shorter than the entry is no failure of the run: the entry joins those that
// reach past the end of the image.
EntryResult extractEntry(const ExtractRun& run, InputFile& image, FileCopier& copier, AnswerForAll& overwrite,
                         const QByteArray& fileName, const RcRecord& record)
{
    const QString target = JoinPath(run.destDir, NameToPath(fileName));
    OutputFile file;
    const EntryResult opened = openEntryFile(run, image, overwrite, fileName, target, file);
    if (opened != EntryResult::Written)
        return opened;
    QString reason;
    switch (copier.copy(image, record.offset, record.length, file, &reason)) {
    case FileCopier::Status::Done:
        if (file.finish(&reason))
            return EntryResult::Written;
        break;
    case FileCopier::Status::SourceEnded:
        file.discard();
        return EntryResult::CutShort;
    case FileCopier::Status::ReadFailed:
        file.discard();
        run.state.showIoError(QStringLiteral("Cannot read the image file"), image.path(), reason);
        return EntryResult::Failed;
    case FileCopier::Status::WriteFailed:
        file.discard();
        break;
    }
    run.state.showIoError(QStringLiteral("Cannot write"), target, reason);
    return EntryResult::Failed;
}

void reportPastImage(AppState& state, const QList<QByteArray>& fileNames)
{
    if (fileNames.isEmpty())
        return;
    QStringList names;
    for (const QByteArray& fileName : fileNames)
        names.append(NameToText(fileName));
    state.show(QStringLiteral("These entries reach past the end of the image file and were not extracted:\n")
                   + names.join(QStringLiteral(", ")),
               QString(), MsgIcon::Exclamation);
}

// The bytes an entry's extraction writes: none for one past the image's end.
qint64 bytesWritten(const RcRecord& record, qint64 imageSize)
{
    return reachesPastImage(record, imageSize) ? 0 : record.length;
}

void startProgress(const ExtractRun& run, const EntryTable& table, qint64 imageSize)
{
    qint64 entries = 0;
    qint64 bytes = 0;
    for (const std::optional<RcRecord>& record : table.records) {
        if (record) {
            ++entries;
            bytes += bytesWritten(*record, imageSize);
        }
    }
    run.state.progress.start(entries, bytes);
}

Outcome extractEntries(const ExtractRun& run, const EntryTable& table, InputFile& image, ListFileWriter& list)
{
    const qint64 imageSize = image.size();
    FileCopier copier;
    AnswerForAll overwrite;
    QList<QByteArray> pastImage;
    startProgress(run, table, imageSize);
    for (qsizetype row = 0; row < table.rows.size(); ++row) {
        const std::optional<RcRecord>& record = table.records[row];
        if (!record)
            continue;
        const QByteArray& fileName = table.rows[row][RcColFileName];
        if (!run.state.progress.next(fileName, bytesWritten(*record, imageSize)))
            return Outcome::Cancelled;
        if (reachesPastImage(*record, imageSize)) {
            pastImage.append(fileName);
            continue;
        }
        const EntryResult result = extractEntry(run, image, copier, overwrite, fileName, *record);
        if (result == EntryResult::CutShort)
            pastImage.append(fileName);
        if (result == EntryResult::Cancelled)
            return Outcome::Cancelled;
        if (result == EntryResult::Failed)
            return Outcome::Stopped;
    }
    run.state.progress.finish();
    if (!commitList(run, list))
        return Outcome::Stopped;
    reportPastImage(run.state, pastImage);
    run.state.showDone(QStringLiteral("EXTRACT DONE ("));
    return Outcome::Done;
}

} // namespace

RcEntryTable BuildRcEntryTable(AppState& state, const RcTweakModel& tweaks, const QByteArray& index)
{
    const ExtractRun run{state, tweaks, semiFullChosen(state, tweaks), {}, {}, {}};
    return buildTable(run, index);
}

Outcome ExtractRcArchive(AppState& state, const RcTweakModel& tweaks)
{
    const ExtractRun run{state, tweaks, semiFullChosen(state, tweaks),
                         state.SrcFile[ExtractPane].FPath, state.DstFile[ExtractPane].FPath,
                         state.DstFile[ExtractPane].FDir};

    const std::optional<QByteArray> index = readIndex(state, run.indexPath);
    if (!index || !checkListName(state))
        return Outcome::Stopped;
    const EntryTable table = buildTable(run, *index);
    const QString imagePath = RcImagePath(run.indexPath);
    ListFileWriter list(run.destDir, state.DstFile[ExtractPane].FName);
    if (!startList(run, list, RcListText(state, table), imagePath))
        return Outcome::Stopped;
    reportLeftOut(state, table.recordsLeftOut);
    if (state.CreateLstOnly)
        return commitList(run, list) ? Outcome::Done : Outcome::Stopped;

    InputFile image;
    QString reason;
    if (!image.open(imagePath, InputFile::Links::Follow, &reason)) {
        state.showIoError(QStringLiteral("Cannot open the image file"), imagePath, reason);
        return Outcome::Stopped;
    }
    return extractEntries(run, table, image, list);
}

} // namespace tobx
