// SPDX-License-Identifier: MIT
#include "TobBuild.h"

#include "TobArchive.h"
#include "TobFiles.h"
#include "core/FileCopy.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "core/StringConcat.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace tobx {

namespace {

constexpr qint32 kDirectoryStep = 5600;
constexpr double kLargestEntry = 4294967295.0;

// A non-empty list field after the first, as the first pass judged it. The
// second pass works from these judgements, so that the data area holds
// exactly what the directory announces even when files change in between.
struct ListItem {
    QByteArray name;
    QString path;
    bool accepted = false;
    quint32 size = 0;
    QString refusal = QString(); // why an unsafe name or a link on its way kept it out
    FileId id = FileId();        // the file the first pass looked at
};

// The name as the list spells it; an unsafe one or one reached through a link
// also says why it stays out.
QString skipText(const ListItem& item)
{
    QString text = NameForMessage(item.name) + QStringLiteral(" - should be not added to archive - skipped");
    if (!item.refusal.isEmpty())
        text += QStringLiteral("\n(") + item.refusal + QLatin1Char(')');
    return text;
}

class TobBuild {
public:
    explicit TobBuild(AppState& state);
    Outcome run();

private:
    bool readList();
    bool checkFirstField();
    bool checkPaths();
    bool planEntries();
    std::optional<PathFacts> acceptedFile(ListItem& item, const QString& relative);
    bool writeArchive();
    bool writeContents(OutputFile& archive);
    void startProgress();
    bool writeBytes(OutputFile& archive, QByteArrayView bytes);
    bool appendContent(OutputFile& archive, const ListItem& item);
    bool changedSince(const ListItem& item, const QString& how);
    bool moveSources();
    bool refuse(const QString& text, const QString& title);

    AppState& m_state;
    const PATHS& m_listFile;
    const PATHS& m_output;
    QByteArray m_listText;
    QByteArray m_firstField;
    QString m_companionList; // DATA.LST for data.tob
    qint64 m_listSize = 0;
    std::optional<FileId> m_listId;
    StringConcat m_directory;
    QList<ListItem> m_items;
    FolderGuard m_folders;
    bool m_cancelled = false; // by the user, at an entry boundary
    FileCopier m_copier;
};

TobBuild::TobBuild(AppState& state)
    : m_state(state)
    , m_listFile(state.SrcFile[BuildPane])
    , m_output(state.DstFile[BuildPane])
    , m_folders(m_listFile.FDir)
{
    m_directory.lngAllocSize = kDirectoryStep;
}

Outcome TobBuild::run()
{
    if (!readList() || !checkFirstField() || !checkPaths() || !planEntries())
        return Outcome::Stopped;
    if (GetFileSize(m_output.FPath) != -1) {
        const MsgResult answer = m_state.show(NameToText(m_firstField) + QStringLiteral(" already exist\nDo you want to overwrite it?"),
                                              QStringLiteral("File already exist"), MsgIcon::Question,
                                              MsgButtons::YesNo, MsgResult::No);
        if (answer != MsgResult::Yes)
            return Outcome::Cancelled;
    }
    if (!writeArchive())
        return m_cancelled ? Outcome::Cancelled : Outcome::Stopped;
    if (m_state.MoveFiles && !moveSources())
        return Outcome::Stopped;
    m_state.showDone(QStringLiteral("BUILD DONE ("));
    return Outcome::Done;
}

// Both passes go over this one reading of the list.
bool TobBuild::readList()
{
    QString reason;
    std::optional<QByteArray> text = ReadWholeFile(m_listFile.FPath, &reason);
    if (!text) {
        m_state.showIoError(QStringLiteral("Cannot read the list file"), m_listFile.FPath, reason);
        return false;
    }
    m_listText = std::move(*text);
    m_listSize = m_listText.size();
    m_listId = IdentityOf(m_listFile.FPath);
    return true;
}

bool TobBuild::checkFirstField()
{
    m_firstField = FirstListField(m_listText);
    StripLstDir(m_state, m_firstField);
    if (m_firstField.size() <= 4)
        return refuse(QStringLiteral(".tob file name to create too short - look first line inside .lst file"),
                      QStringLiteral("Error"));
    if (m_firstField.right(4).toLower() != ".tob")
        return refuse(QStringLiteral("First line of .lst doesn't contain a valid .tob file name - no .tob extension"),
                      QStringLiteral("Error"));
    QString expected = m_listFile.FName;
    if (expected.size() > 4)
        expected = expected.chopped(4) + QStringLiteral(".tob");
    if (NameToText(m_firstField).compare(expected, Qt::CaseInsensitive) != 0)
        m_state.show(QStringLiteral("File name mismatch\n(.lst file name doesn't match .tob name inside .lst file)"),
                     QStringLiteral("Just info"), MsgIcon::Information);
    m_companionList = NameToText(m_firstField.chopped(4) + ".lst").toUpper();
    return true;
}

// The archive replaces a file only inside the output folder, and never the
// list it is built from.
bool TobBuild::checkPaths()
{
    // Without it every name would be joined to the root.
    if (m_listFile.FDir.isEmpty() || m_output.FDir.isEmpty())
        return refuse(QStringLiteral("The folder of the list file or the output folder is not known."),
                      QStringLiteral("ERROR"));
    const QString unsafe = UnsafeNameReason(m_firstField);
    if (!unsafe.isEmpty())
        return refuse(QStringLiteral("The archive name in the first line of the list is not a plain name inside the output folder:\n")
                          + NameForMessage(m_firstField) + QStringLiteral("\n(") + unsafe + QLatin1Char(')'),
                      QStringLiteral("ERROR"));
    const QString refusal = OutputPathRefusal(m_output.FDir, NameToPath(m_firstField));
    if (!refusal.isEmpty()) {
        m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, refusal);
        return false;
    }
    if (SameFile(m_output.FPath, m_listFile.FPath))
        return refuse(QStringLiteral("The archive would replace the list file it is built from:\n")
                          + QDir::toNativeSeparators(m_output.FPath),
                      QStringLiteral("ERROR"));
    return true;
}

bool TobBuild::planEntries()
{
    ListFieldReader reader(m_listText);
    QByteArrayView view;
    reader.next(view); // the archive name
    while (reader.next(view)) {
        if (view.isEmpty())
            continue;
        // Stripping the list folder never leaves a field empty.
        QByteArray field = view.toByteArray();
        StripLstDir(m_state, field);
        const QString relative = NameToPath(field);
        ListItem item{field, JoinPath(m_listFile.FDir, relative)};
        if (const std::optional<PathFacts> facts = acceptedFile(item, relative)) {
            if (facts->size > kLargestEntry) {
                m_state.show(NameToText(item.name), QStringLiteral("File too big"), MsgIcon::Critical);
                return false;
            }
            item.accepted = true;
            item.size = quint32(facts->size);
            item.id = facts->id;
            AppendTobDirEntry(m_directory, item.name, item.size);
        }
        m_items.append(std::move(item));
    }
    return true;
}

// Only plain files inside the list folder count, reached without a link, so
// that a build never reads or (with "&Move Files") deletes anything outside
// it; and never the list itself, whatever spelling or link names it. The one
// look at the file that decides also gives its size for the directory and
// the identity the second pass expects.
std::optional<PathFacts> TobBuild::acceptedFile(ListItem& item, const QString& relative)
{
    const QString text = NameToText(item.name);
    if (text.compare(m_companionList, Qt::CaseInsensitive) == 0 || text.compare(m_listFile.FName, Qt::CaseInsensitive) == 0)
        return std::nullopt;
    item.refusal = UnsafeNameReason(item.name);
    if (!item.refusal.isEmpty())
        return std::nullopt;
    switch (m_folders.prepareFolders(relative, false)) {
    case FolderGuard::Verdict::Ready:
        break;
    case FolderGuard::Verdict::ThroughLink:
        item.refusal = QStringLiteral("a symbolic link on the way");
        return std::nullopt;
    default:
        return std::nullopt;
    }
    const PathFacts facts = LookAt(item.path);
    if (facts.kind == PathKind::Link)
        item.refusal = QStringLiteral("a symbolic link");
    if (facts.kind != PathKind::File)
        return std::nullopt;
    if (facts.id == m_listId) // the list under another name
        return std::nullopt;
    return facts;
}

// The old archive stays as it is until the new one is complete and synced; a
// build that fails leaves neither a partial archive nor a temporary file behind.
bool TobBuild::writeArchive()
{
    OutputFile archive;
    QString reason;
    if (!archive.openReplacing(m_output.FPath, &reason)) {
        m_state.showIoError(QStringLiteral("Cannot create the archive"), m_output.FPath, reason);
        return false;
    }
    archive.gatherSmallCopies();
    if (!writeContents(archive)) {
        archive.discard();
        return false;
    }
    if (!archive.finish(&reason)) {
        m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, reason);
        return false;
    }
    return true;
}

bool TobBuild::writeContents(OutputFile& archive)
{
    const QByteArray head = TobHeader(m_state.SrcSig[0], quint32(m_directory.lngUsed)) + m_directory.GetStr();
    if (!writeBytes(archive, head))
        return false;
    startProgress();
    for (const ListItem& item : std::as_const(m_items)) {
        if (!m_state.progress.next(item.name, item.accepted ? item.size : 0)) {
            m_cancelled = true;
            return false;
        }
        if (!item.accepted)
            m_state.show(skipText(item), QStringLiteral("Skip"), MsgIcon::Information);
        else if (!appendContent(archive, item))
            return false;
    }
    m_state.progress.finish();
    return true;
}

// Every list item is an entry boundary, a skipped one too; the moving of the
// sources after the archive is complete is not cancelled.
void TobBuild::startProgress()
{
    qint64 bytes = 0;
    for (const ListItem& item : std::as_const(m_items))
        bytes += item.accepted ? item.size : 0;
    m_state.progress.start(m_items.size(), bytes);
}

bool TobBuild::writeBytes(OutputFile& archive, QByteArrayView bytes)
{
    QString reason;
    if (archive.write(bytes, &reason))
        return true;
    m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, reason);
    return false;
}

// The one place where a source's bytes are copied. The file must still be
// the one the directory was made from, of the same size, and no link. An
// empty file gives no bytes, so it is not even opened.
bool TobBuild::appendContent(OutputFile& archive, const ListItem& item)
{
    if (item.size == 0)
        return true;
    InputFile source;
    QString reason;
    if (!source.open(item.path, InputFile::Links::Refuse, &reason)) {
        m_state.showIoError(QStringLiteral("Cannot read the file"), item.path, reason);
        return false;
    }
    if (!source.isRegular()) {
        m_state.showIoError(QStringLiteral("Cannot read the file"), item.path, QStringLiteral("It is no plain file now."));
        return false;
    }
    if (!(source.id() == item.id))
        return changedSince(item, QStringLiteral("Another file has taken its place."));
    if (source.size() != qint64(item.size))
        return changedSince(item, QStringLiteral("It now holds %1 bytes.").arg(source.size()));
    switch (m_copier.copy(source, 0, item.size, archive, &reason)) {
    case FileCopier::Status::Done:
        return true;
    case FileCopier::Status::SourceEnded:
        return changedSince(item, reason);
    case FileCopier::Status::ReadFailed:
        m_state.showIoError(QStringLiteral("Cannot read the file"), item.path, reason);
        return false;
    case FileCopier::Status::WriteFailed:
        break;
    }
    m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, reason);
    return false;
}

bool TobBuild::changedSince(const ListItem& item, const QString& how)
{
    m_state.showIoError(QStringLiteral("The file changed while the archive was built"), item.path,
                        QStringLiteral("It held %1 bytes when the directory was made. ").arg(item.size) + how);
    return false;
}

// Runs only once the archive is committed: a name listed twice has had its
// content stored twice, and its file goes once.
bool TobBuild::moveSources()
{
    QSet<QString> removed;
    for (const ListItem& item : std::as_const(m_items)) {
        if (!item.accepted || removed.contains(item.path))
            continue;
        removed.insert(item.path);
        if (SameFile(item.path, m_output.FPath))
            continue; // the archive just built was listed as one of its sources
        QFile source(item.path);
        // Another spelling of an already deleted file is gone already.
        if (!source.remove() && QFileInfo(item.path).isFile()) {
            m_state.showIoError(QStringLiteral("Cannot delete the file"), item.path, source.errorString());
            return false;
        }
    }
    return true;
}

bool TobBuild::refuse(const QString& text, const QString& title)
{
    m_state.show(text, title, MsgIcon::Critical);
    return false;
}

} // namespace

Outcome BuildTobArchive(AppState& state)
{
    TobBuild build(state);
    return build.run();
}

} // namespace tobx
