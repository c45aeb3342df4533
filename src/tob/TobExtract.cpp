// SPDX-License-Identifier: MIT
#include "TobExtract.h"

#include "TobArchive.h"
#include "TobFiles.h"
#include "core/FileCopy.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "core/StringConcat.h"

#include <QDir>

namespace tobx {

namespace {

const QString kListEntryText = QStringLiteral(
    "Archive contains .lst file which can't be extracted (new .lst file is under construction)\n"
    "If you want to extract this file - just change archive file name and try to extract again");

const QString kArchiveEntryText = QStringLiteral(
    "Archive contains file with the same name as archive name\n"
    "This file will be skipped this time - if you want to extract this file too\n"
    "Extract this archive to different directory than source\n"
    "\n"
    "Do you want to continue without this file?");

const QString kRefusedText = QStringLiteral(
    "These entries were not extracted, because they would not land inside the destination folder "
    "or their names cannot be written safely:");
const QString kLinkReason = QStringLiteral("a symbolic link on the way");
const QString kLeftOutOfList = QStringLiteral(", left out of the list too");

// A long list of refused names would make a box taller than the screen.
constexpr qsizetype kRefusedNamesShown = 30;

// Entry names are short; their builder grows in small steps.
constexpr qint32 kNameStep = 100;

class TobExtraction {
public:
    explicit TobExtraction(AppState& state);
    Outcome run();

private:
    enum class Decision { Create, Replace, Skip, Stop, Cancel };

    bool openArchive();
    bool readDirectory();
    bool checkDestination();
    bool createListFile();
    void startProgress();
    Decision handleEntry(const TobDirEntry& entry);
    bool appendListLine(QByteArrayView name);
    qsizetype addResultItem(QByteArrayView name);
    void refuse(QByteArrayView name, const QString& reason);
    Decision decide(QByteArrayView name, const QString& relative, const QString& target, OutputFile& file);
    Decision decideExisting(QByteArrayView name, const QString& target, OutputFile& file);
    Decision askAboutExisting(QByteArrayView name, const QString& target);
    bool writeEntry(QByteArrayView name, qint64 position, quint32 size, OutputFile& file);
    bool fail(const QString& what, const QString& path, const QString& reason);
    Outcome cancel();
    bool commitList();
    bool stopDamaged(const QString& problem);
    void reportDamage(const QString& problem);
    void reportRefused();

    AppState& m_state;
    const PATHS& m_source;
    const PATHS& m_destination;
    InputFile m_archive;
    ListFileWriter m_list;
    QByteArray m_directory;
    qint64 m_archiveSize = 0;
    qint64 m_dataPosition = 0;
    StringConcat m_name;
    FolderGuard m_folders;
    // Copies every entry; the directory and runs of small entries come
    // through its buffer in large reads.
    FileCopier m_copier;
    // Each refused name with the reason it was refused.
    QList<std::pair<QByteArray, QString>> m_refused;
    AnswerForAll m_overwrite;
};

TobExtraction::TobExtraction(AppState& state)
    : m_state(state)
    , m_source(state.SrcFile[ExtractPane])
    , m_destination(state.DstFile[ExtractPane])
    , m_list(m_destination.FDir, m_destination.FName)
    , m_folders(m_destination.FDir)
{
    m_name.lngAllocSize = kNameStep;
}

Outcome TobExtraction::run()
{
    // Everything about the archive is proven before the first byte is written.
    if (!openArchive() || !readDirectory() || !checkDestination() || !createListFile())
        return Outcome::Stopped;
    m_dataPosition = kTobHeaderSize + m_directory.size();
    startProgress();
    TobDirectoryWalker walker(m_directory);
    TobDirEntry entry;
    while (walker.next(entry)) {
        switch (handleEntry(entry)) {
        case Decision::Stop:
            return Outcome::Stopped;
        case Decision::Cancel:
            return cancel();
        default:
            break;
        }
    }
    m_state.progress.finish();
    if (!commitList())
        return Outcome::Stopped;
    reportRefused();
    m_state.showDone(QStringLiteral("EXTRACT DONE ("));
    return Outcome::Done;
}

bool TobExtraction::openArchive()
{
    QString reason;
    if (m_archive.open(m_source.FPath, InputFile::Links::Follow, &reason)) {
        m_archiveSize = m_archive.size();
        return true;
    }
    return fail(QStringLiteral("Cannot open the archive"), m_source.FPath, reason);
}

bool TobExtraction::readDirectory()
{
    QString reason;
    char header[kTobHeaderSize];
    quint32 directorySize = 0;
    if (m_archiveSize >= kTobHeaderSize) {
        if (m_copier.read(m_archive, 0, kTobHeaderSize, header, &reason) != FileCopier::Status::Done)
            return fail(QStringLiteral("Cannot read the archive"), m_source.FPath, reason);
        directorySize = TobDirectorySize(QByteArrayView(header, kTobHeaderSize));
    }
    QString problem = FindTobHeaderDamage(m_archiveSize, directorySize);
    if (!problem.isEmpty()) {
        reportDamage(problem);
        return false;
    }
    m_directory = QByteArray(qsizetype(directorySize), Qt::Uninitialized);
    const FileCopier::Status read = m_copier.read(m_archive, kTobHeaderSize, directorySize, m_directory.data(), &reason);
    if (read != FileCopier::Status::Done)
        return fail(QStringLiteral("Cannot read the archive"), m_source.FPath, reason);
    problem = FindTobDirectoryDamage(m_directory, m_archiveSize);
    if (!problem.isEmpty()) {
        reportDamage(problem);
        return false;
    }
    return true;
}

// Without a folder every name would be joined to the root. An archive whose
// own name ends in ".lst", extracted into its own folder, would be replaced
// by its list file before a byte of it was read.
bool TobExtraction::checkDestination()
{
    if (m_destination.FDir.isEmpty()) {
        m_state.show(QStringLiteral("No destination folder is chosen."), QStringLiteral("ERROR"), MsgIcon::Critical);
        return false;
    }
    if (!SameFile(m_destination.FPath, m_source.FPath))
        return true;
    m_state.show(QStringLiteral("The list file would replace the archive itself:\n")
                     + QDir::toNativeSeparators(m_destination.FPath)
                     + QStringLiteral("\nExtract this archive to a different folder."),
                 QStringLiteral("ERROR"), MsgIcon::Critical);
    return false;
}

// The list replaces whatever has its name when the run ends, but a link there
// is refused, not followed and not removed, so that the list never lands
// outside the destination. Its first line must name the archive as a build
// will find it again.
bool TobExtraction::createListFile()
{
    const QString nameProblem = ListNameProblem(m_source.FName);
    if (!nameProblem.isEmpty()) {
        m_state.show(QStringLiteral("The archive's name cannot be written into the list file: ") + m_source.FName
                         + QLatin1Char('\n') + nameProblem
                         + QStringLiteral("\nA build from that list would name the archive differently. "
                                          "Rename the archive and extract it again."),
                     QStringLiteral("ERROR"), MsgIcon::Critical);
        return false;
    }
    QString reason;
    if (!m_list.open(&reason))
        return fail(QStringLiteral("Cannot create the list file"), m_destination.FPath, reason);
    return appendListLine(PathToName(m_source.FName)) && appendListLine(QByteArrayView());
}

// A list-only run writes no entry bytes.
void TobExtraction::startProgress()
{
    qint64 entries = 0;
    qint64 bytes = 0;
    TobDirectoryWalker walker(m_directory);
    for (TobDirEntry entry; walker.next(entry); ++entries)
        bytes += entry.size;
    m_state.progress.start(entries, m_state.CreateLstOnly ? 0 : bytes);
}

TobExtraction::Decision TobExtraction::handleEntry(const TobDirEntry& entry)
{
    if (!m_state.progress.next(entry.name, m_state.CreateLstOnly ? 0 : entry.size))
        return Decision::Cancel;
    m_name.lngUsed = 0;
    m_name.Add(entry.name);
    const QByteArray name = m_name.GetStr();
    // Such a name would split or blur its line, so the list cannot carry it.
    if (HasControlByte(name)) {
        refuse(name, UnsafeNameReason(name) + kLeftOutOfList);
        m_dataPosition += entry.size;
        return Decision::Skip;
    }
    if (!appendListLine(name))
        return Decision::Stop;
    const qsizetype row = addResultItem(name);
    if (m_state.CreateLstOnly)
        return Decision::Skip;
    const qint64 position = m_dataPosition;
    m_dataPosition += entry.size;
    const QString relative = NameToPath(name);
    const QString target = JoinPath(m_destination.FDir, relative);
    OutputFile file;
    const Decision decision = decide(name, relative, target, file);
    if (decision != Decision::Create && decision != Decision::Replace)
        return decision;
    // The one place where an entry's bytes are copied.
    if (!writeEntry(name, position, entry.size, file))
        return Decision::Stop;
    m_state.lstSrcFiles[ExtractPane].setSelected(row, true);
    return decision;
}

bool TobExtraction::appendListLine(QByteArrayView name)
{
    QString reason;
    return m_list.appendLine(name, &reason) || fail(QStringLiteral("Cannot write the list file"), m_destination.FPath, reason);
}

qsizetype TobExtraction::addResultItem(QByteArrayView name)
{
    if (name.isEmpty())
        return -1;
    ResultList& items = m_state.lstSrcFiles[ExtractPane];
    const qsizetype row = items.append(NameToText(name));
    // Selecting and deselecting brings the new line into view.
    items.setSelected(row, true);
    items.setSelected(row, false);
    return row;
}

void TobExtraction::refuse(QByteArrayView name, const QString& reason)
{
    m_refused.append({name.toByteArray(), reason});
}

// A free target is created at once; the kernel's "it exists" is the only
// sign of a taken one, and only then is the path looked at.
TobExtraction::Decision TobExtraction::decide(QByteArrayView name, const QString& relative, const QString& target,
                                              OutputFile& file)
{
    const QString unsafe = UnsafeNameReason(name);
    if (!unsafe.isEmpty()) {
        refuse(name, unsafe);
        return Decision::Skip;
    }
    switch (m_folders.prepareFolders(relative, true)) {
    case FolderGuard::Verdict::Ready:
        break;
    case FolderGuard::Verdict::ThroughLink:
        refuse(name, kLinkReason);
        return Decision::Skip;
    case FolderGuard::Verdict::Missing:
    case FolderGuard::Verdict::Blocked:
    case FolderGuard::Verdict::Failed:
        fail(QStringLiteral("Cannot create the folder"), m_folders.failedPath(), m_folders.reason());
        return Decision::Stop;
    }
    // The new list is not on disk before the run ends, so its name is guarded
    // by spelling too.
    if (relative == m_destination.FName)
        return askAboutExisting(name, m_destination.FPath);
    QString reason;
    switch (file.createNew(target, &reason)) {
    case OutputFile::Created::Yes: // neither the list nor the archive, then
        return Decision::Create;
    case OutputFile::Created::Failed:
        fail(QStringLiteral("Cannot write the file"), target, reason);
        return Decision::Stop;
    case OutputFile::Created::Exists:
        break;
    }
    return decideExisting(name, target, file);
}

TobExtraction::Decision TobExtraction::decideExisting(QByteArrayView name, const QString& target, OutputFile& file)
{
    if (LookAt(target).kind == PathKind::Link) {
        refuse(name, kLinkReason);
        return Decision::Skip;
    }
    const Decision decision = askAboutExisting(name, target);
    QString reason;
    if (decision == Decision::Replace && !file.openReplacing(target, &reason)) {
        fail(QStringLiteral("Cannot write the file"), target, reason);
        return Decision::Stop;
    }
    return decision;
}

// Identity, not spelling, decides: a name that differs only in case, or a
// hard link, must not overwrite the list under construction or the archive.
TobExtraction::Decision TobExtraction::askAboutExisting(QByteArrayView name, const QString& target)
{
    if (target == m_destination.FPath || SameFile(target, m_destination.FPath)) {
        m_state.show(kListEntryText, QStringLiteral("Info"), MsgIcon::Information);
        return Decision::Skip;
    }
    if (SameFile(target, m_source.FPath)) {
        const MsgResult answer = m_state.show(kArchiveEntryText, QStringLiteral("Error"), MsgIcon::Exclamation,
                                              MsgButtons::YesNo, MsgResult::No);
        return answer == MsgResult::Yes ? Decision::Skip : Decision::Cancel;
    }
    if (GetFileSize(target) == -1)
        return Decision::Replace; // a folder of that name: writing reports it
    const MsgResult answer = m_overwrite.ask(m_state.messages,
                                             {QStringLiteral("File: ") + NameToText(name)
                                                  + QStringLiteral(" exist.\nDo you want to overwrite?"),
                                              QStringLiteral("File Exist"), MsgIcon::Question,
                                              MsgButtons::YesNoCancelToAll, MsgResult::No});
    switch (answer) {
    case MsgResult::Yes:
        return Decision::Replace;
    case MsgResult::Cancel:
        return Decision::Cancel;
    default:
        return Decision::Skip;
    }
}

// A file left unfinished is removed (or, when it was to replace one, the old
// file stays as it was).
bool TobExtraction::writeEntry(QByteArrayView name, qint64 position, quint32 size, OutputFile& file)
{
    QString reason;
    switch (m_copier.copy(m_archive, position, size, file, &reason)) {
    case FileCopier::Status::Done:
        return file.finish(&reason) || fail(QStringLiteral("Cannot write the file"), file.path(), reason);
    case FileCopier::Status::SourceEnded:
        file.discard();
        return stopDamaged(QStringLiteral("It became shorter while it was read; it ends inside the content of ")
                           + NameForMessage(name));
    case FileCopier::Status::ReadFailed:
        file.discard();
        return fail(QStringLiteral("Cannot read the archive"), m_source.FPath, reason);
    case FileCopier::Status::WriteFailed:
        break;
    }
    const QString path = file.path();
    file.discard();
    return fail(QStringLiteral("Cannot write the file"), path, reason);
}

// Every file of the run is closed before the user hears of the failure; the
// list under construction goes, an old one stays as it was.
bool TobExtraction::fail(const QString& what, const QString& path, const QString& reason)
{
    m_list.discard();
    m_archive.close();
    m_state.showIoError(what, path, reason);
    return false;
}

Outcome TobExtraction::cancel()
{
    m_list.discard();
    return Outcome::Cancelled;
}

bool TobExtraction::commitList()
{
    QString reason;
    return m_list.commit(&reason) || fail(QStringLiteral("Cannot write the list file"), m_destination.FPath, reason);
}

// The archive became shorter than its directory says while it was read; the
// list under construction goes, as with any failure.
bool TobExtraction::stopDamaged(const QString& problem)
{
    m_list.discard();
    m_archive.close();
    reportDamage(problem);
    return false;
}

void TobExtraction::reportDamage(const QString& problem)
{
    m_state.show(QStringLiteral("The archive is damaged: ") + QDir::toNativeSeparators(m_source.FPath)
                     + QLatin1Char('\n') + problem + QLatin1Char('.'),
                 QStringLiteral("ERROR"), MsgIcon::Critical);
}

void TobExtraction::reportRefused()
{
    if (m_refused.isEmpty())
        return;
    QString text = kRefusedText;
    for (qsizetype i = 0; i < m_refused.size() && i < kRefusedNamesShown; ++i) {
        const auto& [name, reason] = m_refused.at(i);
        text += QLatin1Char('\n')
            + (name.isEmpty() ? QStringLiteral("(empty name)") : NameForMessage(name) + QStringLiteral("  (") + reason + QLatin1Char(')'));
    }
    if (m_refused.size() > kRefusedNamesShown)
        text += QStringLiteral("\n... and %1 more").arg(m_refused.size() - kRefusedNamesShown);
    m_state.show(text, QString(), MsgIcon::Exclamation);
}

} // namespace

Outcome ExtractTobArchive(AppState& state)
{
    TobExtraction extraction(state);
    return extraction.run();
}

} // namespace tobx
