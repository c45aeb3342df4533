// SPDX-License-Identifier: MIT
#include "RcBuild.h"

#include "RcFormat.h"
#include "core/FileSystem.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"

#include <optional>

namespace tobx {

namespace {

const QString kErrorTitle = QStringLiteral("Error");

void refuse(AppState& state, const QString& text)
{
    state.show(text, kErrorTitle, MsgIcon::Critical);
}

// The name in the first line may only end in ".idx" and must be longer than
// that; a name that differs from the list's own is pointed out but built.
bool checkIndexName(AppState& state, const QByteArray& indexName)
{
    if (indexName.size() <= 4) {
        refuse(state, QStringLiteral(".idx file name to create too short - look first line inside .lst file"));
        return false;
    }
    if (indexName.right(4).toLower() != ".idx") {
        refuse(state, QStringLiteral("First line of .lst doesn't contain a valid .idx file name - no .idx extension"));
        return false;
    }
    const QString listName = state.SrcFile[BuildPane].FName;
    const QString expected = listName.size() > 4 ? listName.chopped(4) + QStringLiteral(".idx") : listName;
    if (NameToText(indexName).compare(expected, Qt::CaseInsensitive) != 0)
        state.show(QStringLiteral("File name mismatch\n(.lst file name doesn't match .idx name inside .lst file)"),
                   QStringLiteral("Just info"), MsgIcon::Information);
    return true;
}

// Why the index may not be written where the list names it: out of the
// destination folder, through a link, or over the list it is built from.
QString outputRefusal(const AppState& state, const QByteArray& indexName)
{
    const PATHS& dst = state.DstFile[BuildPane];
    const QString unsafe = UnsafeNameReason(indexName);
    if (!unsafe.isEmpty())
        return QStringLiteral("The name in the first line of the list is not a plain name inside the destination folder (")
            + unsafe + QStringLiteral("): ") + NameForMessage(indexName);
    const QString refusal = OutputPathRefusal(dst.FDir, NameToPath(indexName));
    if (!refusal.isEmpty())
        return refusal;
    if (SameFile(dst.FPath, state.SrcFile[BuildPane].FPath))
        return QStringLiteral("This is the list file being built from.");
    return QString();
}

bool checkOutputPlace(AppState& state, const QByteArray& indexName)
{
    const QString why = outputRefusal(state, indexName);
    if (why.isEmpty())
        return true;
    state.showIoError(QStringLiteral("Cannot write the index file"), state.DstFile[BuildPane].FPath, why);
    return false;
}

// The question names the index as the list spells it.
bool agreeToOverwrite(AppState& state, const QByteArray& indexName)
{
    const PATHS& dst = state.DstFile[BuildPane];
    if (GetFileSize(dst.FPath) < 0)
        return true;
    return state.show(NameToText(indexName) + QStringLiteral(" already exist\nDo you want to overwrite it?"),
                      QStringLiteral("File already exist"), MsgIcon::Question, MsgButtons::YesNo, MsgResult::No)
        == MsgResult::Yes;
}

const char* const kValueColumnNames[] = {"offset", "length", "word 3", "word 4"};

void reportValue(AppState& state, qsizetype row, int column, const QByteArray& field)
{
    state.show(QStringLiteral("Row %1, column %2 (%3): \"%4\" does not fit into an index record; "
                              "values go from 0 to 4294967295.")
                   .arg(row)
                   .arg(column)
                   .arg(QLatin1String(kValueColumnNames[column - RcColOffset]), NameToText(field)),
               QStringLiteral("ERROR"), MsgIcon::Critical);
}

// Row c's record: the values of the row its redirect names, or of its own.
// Nothing, after the message, when the redirect or a value is unusable.
std::optional<RcRecord> recordFor(AppState& state, const QList<RcRow>& rows, qsizetype c)
{
    const RcRedirect redirect = ParseRcRedirect(rows[c][RcColRedirect]);
    const qint64 source = redirect.kind == RcRedirectKind::Own ? c : redirect.row;
    if (redirect.kind == RcRedirectKind::Invalid || source < 0 || source >= rows.size()) {
        state.show(QStringLiteral("Value not in range"), QStringLiteral("ERROR"));
        return std::nullopt;
    }
    std::array<quint32, 4> values{};
    for (int column = RcColOffset; column <= RcColWord4; ++column) {
        const std::optional<quint32> value = ParseRcValue(rows[source][column]);
        if (!value) {
            reportValue(state, source, column, rows[source][column]);
            return std::nullopt;
        }
        values[column - RcColOffset] = *value;
    }
    return RcRecord{values[0], values[1], values[2], values[3]};
}

} // namespace

std::optional<QByteArray> RcIndexFromRows(AppState& state, const QList<RcRow>& rows)
{
    QByteArray index;
    index.reserve(rows.size() * RcRecordSize);
    for (qsizetype c = 0; c < rows.size(); ++c) {
        const std::optional<RcRecord> record = recordFor(state, rows, c);
        if (!record)
            return std::nullopt;
        AppendRcRecord(index, *record);
    }
    return index;
}

namespace {

void showRows(AppState& state, const QList<RcRow>& rows)
{
    for (const RcRow& row : rows)
        state.lstSrcFiles[BuildPane].append(NameToText(FormatRcListRow(row)));
}

} // namespace

Outcome BuildRcIndex(AppState& state)
{
    const PATHS& src = state.SrcFile[BuildPane];
    QString reason;
    const std::optional<QByteArray> text = ReadWholeFile(src.FPath, &reason);
    if (!text) {
        state.showIoError(QStringLiteral("Cannot read the list file"), src.FPath, reason);
        return Outcome::Stopped;
    }
    const RcList list = ParseRcList(*text);
    QByteArray indexName = list.indexName;
    StripLstDir(state, indexName);
    if (!checkIndexName(state, indexName) || !checkOutputPlace(state, indexName))
        return Outcome::Stopped;
    if (!agreeToOverwrite(state, indexName))
        return Outcome::Cancelled;

    showRows(state, list.rows);
    const std::optional<QByteArray> index = RcIndexFromRows(state, list.rows);
    if (!index)
        return Outcome::Stopped;
    const QString outputPath = state.DstFile[BuildPane].FPath;
    // The index is written in one piece: its one entry boundary is before it.
    state.progress.start(1, index->size());
    if (!state.progress.next(PathToName(state.DstFile[BuildPane].FName), index->size()))
        return Outcome::Cancelled;
    if (!WriteWholeFile(outputPath, *index, &reason)) {
        state.showIoError(QStringLiteral("Cannot write the index file"), outputPath, reason);
        return Outcome::Stopped;
    }
    state.progress.finish();
    state.showDone(QStringLiteral("BUILD DONE ("));
    return Outcome::Done;
}

} // namespace tobx
