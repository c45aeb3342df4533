#include "TobBuild.h"

#include "TobArchive.h"
#include "TobFiles.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "core/StringConcat.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
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
    std::optional<qint64> acceptedSize(ListItem& item, const QString& relative);
    bool writeArchive();
    bool writeContents(QSaveFile& archive);
    bool writeBytes(QSaveFile& archive, QByteArrayView bytes);
    bool appendContent(QSaveFile& archive, const ListItem& item);
    bool moveSources();
    bool refuse(const QString& text, const QString& title);

    AppState& m_state;
    const PATHS& m_listFile;
    const PATHS& m_output;
    QByteArray m_listText;
    QByteArray m_firstField;
    QString m_companionList; // DATA.LST for data.tob
    qint64 m_listSize = 0;
    StringConcat m_directory;
    QList<ListItem> m_items;
    FolderGuard m_folders;
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
        return Outcome::Stopped;
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
    QByteArray field;
    reader.next(field); // the archive name
    while (reader.next(field)) {
        StripLstDir(m_state, field);
        if (field.isEmpty())
            continue;
        const QString relative = NameToPath(field);
        ListItem item{field, JoinPath(m_listFile.FDir, relative)};
        if (const std::optional<qint64> size = acceptedSize(item, relative)) {
            if (*size > kLargestEntry) {
                m_state.show(NameToText(item.name), QStringLiteral("File too big"), MsgIcon::Critical);
                return false;
            }
            item.accepted = true;
            item.size = quint32(*size);
            AppendTobDirEntry(m_directory, item.name, item.size);
        }
        m_items.append(std::move(item));
    }
    return true;
}

// Only plain files inside the list folder count, reached without a link, so
// that a build never reads or (with "&Move Files") deletes anything outside
// it; and never the list itself, whatever spelling or link names it. The one
// look at the file that decides also gives its size for the directory.
std::optional<qint64> TobBuild::acceptedSize(ListItem& item, const QString& relative)
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
    // Only a file of the list's size can be the list under another name.
    if (facts.size == m_listSize && SameFile(item.path, m_listFile.FPath))
        return std::nullopt;
    return facts.size;
}

// The old archive stays as it is until the new one is complete; a build that
// fails leaves neither a partial archive nor a temporary file behind.
bool TobBuild::writeArchive()
{
    QSaveFile archive(m_output.FPath);
    if (!archive.open(QIODevice::WriteOnly)) {
        m_state.showIoError(QStringLiteral("Cannot create the archive"), m_output.FPath, archive.errorString());
        return false;
    }
    if (!writeContents(archive)) {
        archive.cancelWriting();
        return false;
    }
    if (!archive.commit()) {
        m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, archive.errorString());
        return false;
    }
    return true;
}

bool TobBuild::writeContents(QSaveFile& archive)
{
    const QByteArray header = TobHeader(m_state.SrcSig[0], quint32(m_directory.lngUsed));
    const QByteArray directory = m_directory.GetStr();
    if (!writeBytes(archive, header) || !writeBytes(archive, directory))
        return false;
    for (const ListItem& item : std::as_const(m_items)) {
        if (!item.accepted)
            m_state.show(skipText(item), QStringLiteral("Skip"), MsgIcon::Information);
        else if (!appendContent(archive, item))
            return false;
    }
    return true;
}

bool TobBuild::writeBytes(QSaveFile& archive, QByteArrayView bytes)
{
    if (archive.write(bytes.data(), bytes.size()) == bytes.size())
        return true;
    m_state.showIoError(QStringLiteral("Cannot write the archive"), m_output.FPath, archive.errorString());
    return false;
}

bool TobBuild::appendContent(QSaveFile& archive, const ListItem& item)
{
    QFile source(item.path);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_state.showIoError(QStringLiteral("Cannot read the file"), item.path, source.errorString());
        return false;
    }
    if (source.size() != qint64(item.size)) {
        m_state.showIoError(QStringLiteral("The file changed while the archive was built"), item.path,
                            QStringLiteral("It held %1 bytes when the directory was made and now holds %2.")
                                .arg(item.size)
                                .arg(source.size()));
        return false;
    }
    FilePiece content; // let go of before the file closes
    QString reason;
    if (!content.load(source, 0, item.size, &reason)) {
        m_state.showIoError(QStringLiteral("Cannot read the file"), item.path, reason);
        return false;
    }
    return writeBytes(archive, content.bytes());
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
