// SPDX-License-Identifier: MIT
// The Rollcage index reader on arbitrary index bytes, in memory, with the
// content catalogue and every tweak: the first bytes choose the edition the
// tweaks dialog opens for, whether tweaks are used, and up to eight clicks on
// its check boxes and options; the next byte chooses a window of rows; the
// rest is the index, or, when the byte after the window has its top bit set,
// a pattern repeated to the 135 or 290 records of the demo and full
// numberings, so that small inputs reach their catalogue rows.
// The table must place every record where its numbering says. The rows of
// the window, written as a list, must parse back into the same rows, and the
// index the build makes of them must hold, row by row, the record its
// redirect names, or be refused when a redirect names a row the list does
// not have. A window keeps the cost of an input small while the table is
// hundreds of rows long; the input chooses which rows are looked at.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcCatalogue.h"
#include "rollcage/RcExtract.h"
#include "rollcage/RcFormat.h"
#include "rollcage/RcTweakModel.h"

#include <algorithm>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

constexpr int kSemiFullCheck = 3;
constexpr int kMostClicks = 8;
constexpr qsizetype kWindowRows = 8;

void chooseTweaks(InputCutter& input, AppState& state, RcTweakModel& tweaks)
{
    const quint8 edition = input.byte() % (UnknownVersion + 1);
    state.UseTweaks = input.byte() & 1;
    tweaks.open(edition);
    const int clicks = input.byte() % (kMostClicks + 1);
    for (int i = 0; i < clicks; ++i) {
        const quint8 click = input.byte();
        if (click & 0x80)
            tweaks.select(1 + (click >> 4) % RcTweakModel::GroupCount, 1 + click % 4);
        else
            tweaks.click(1 + click % RcTweakModel::CheckCount);
    }
}

// The record each row of the window [first, first + count) holds: the row's
// own, or with the semi-full conversion that of the demo record it belongs
// to, the nearest to the start of the index winning a row two records want.
// Also counts the semi-full records that land beyond the last row.
QList<std::optional<RcRecord>> expectedRecords(QByteArrayView index, bool semiFull, qsizetype rowCount,
                                               qsizetype first, qsizetype count, qsizetype* leftOut)
{
    QList<std::optional<RcRecord>> records(count);
    *leftOut = 0;
    const qsizetype recordCount = RcRecordCount(index.size());
    for (qsizetype k = 0; k < recordCount; ++k) {
        const qsizetype row = semiFull && k < RcDemoEntryCount ? RcDemoToFull(qint16(k)) : k;
        if (row >= rowCount)
            ++*leftOut;
        else if (row >= first && row < first + count && !records[row - first])
            records[row - first] = ReadRcRecord(index, RcRecordPosition(index.size(), k));
    }
    return records;
}

// The index bytes, given as they are or as a pattern repeated to the length
// of one of the two numberings: the records of the demo or of the full
// version, and up to 15 bytes more in front. Other lengths come as they are.
QByteArray indexBytes(InputCutter& input)
{
    constexpr quint8 kRepeat = 0x80;
    if (!(input.byte() & kRepeat))
        return input.rest().toByteArray();
    const quint8 shape = input.byte();
    const qsizetype records = shape & 1 ? RcFullEntryCount : RcDemoEntryCount;
    const qsizetype length = records * RcRecordSize + (shape >> 1) % RcRecordSize;
    const QByteArrayView pattern = input.rest();
    QByteArray index(length, '\0');
    if (pattern.isEmpty())
        return index;
    // The pattern once, then the part already filled copied after itself.
    qsizetype filled = std::min(length, pattern.size());
    std::copy_n(pattern.data(), filled, index.data());
    while (filled < length) {
        const qsizetype piece = std::min(filled, length - filled);
        std::copy_n(index.constData(), piece, index.data() + filled);
        filled += piece;
    }
    return index;
}

bool isPlainNumber(QByteArrayView text)
{
    if (text.isEmpty() || (text.size() > 1 && text.front() == '0'))
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Each field can be written and read back: not empty, no comma or line end,
// no blank in front; the row number, file name and redirect as the format says.
void checkRow(const RcRow& row, qsizetype number, bool hasRecord)
{
    for (const QByteArray& field : row)
        if (field.isEmpty() || field.front() == ' ' || field.front() == '\t' || field.contains(',')
            || field.contains('\r') || field.contains('\n'))
            std::abort();
    if (row[RcColNumber] != QByteArray::number(number))
        std::abort();
    if (row[RcColFileName] != (hasRecord ? RcEntryFileName(int(number)) : QByteArray("-")))
        std::abort();
    if (row[RcColRedirect] != "-" && !isPlainNumber(row[RcColRedirect]))
        std::abort();
}

// Every line ends in CR LF, and the only empty line is the second one: a
// window is never one of the two known numberings, whose groups are apart.
void checkLines(const QByteArray& text)
{
    if (!text.endsWith("\r\n"))
        std::abort();
    qsizetype emptyLines = 0;
    qsizetype lineStart = 0;
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text.at(at) == '\r' && (at + 1 >= text.size() || text.at(at + 1) != '\n'))
            std::abort();
        if (text.at(at) == '\n') {
            if (at == 0 || text.at(at - 1) != '\r')
                std::abort();
            emptyLines += at - 1 == lineStart;
            lineStart = at + 1;
        }
    }
    if (emptyLines != 1)
        std::abort();
}

// The rows [first, first + kWindowRows) of a table, and their records.
RcEntryTable window(const RcEntryTable& table, qsizetype first)
{
    const qsizetype count = std::min(kWindowRows, table.rows.size() - first);
    return RcEntryTable{table.rows.mid(first, count), table.records.mid(first, count), 0};
}

// The record the build gives row c: the one of the row its redirect names,
// zeros for a row without a record; nothing when a redirect leaves the list.
std::optional<QByteArray> expectedIndex(const RcEntryTable& table)
{
    QByteArray index;
    for (qsizetype row = 0; row < table.rows.size(); ++row) {
        const QByteArray& redirect = table.rows[row][RcColRedirect];
        const qsizetype source = redirect == "-" ? row : redirect.toLongLong();
        if (source >= table.rows.size())
            return std::nullopt;
        AppendRcRecord(index, table.records[source].value_or(RcRecord{}));
    }
    return index;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FreshRun run;
    AppState& state = run->state;
    RecordingBox& box = run->box;
    state.SrcFile[ExtractPane].FName = QStringLiteral("RC2DEMO.IDX");

    InputCutter input(data, size);
    RcTweakModel tweaks;
    chooseTweaks(input, state, tweaks);
    const quint8 windowByte = input.byte();
    const ExactBytes index(indexBytes(input));
    const bool semiFull = state.UseTweaks && tweaks.active(kSemiFullCheck);

    const RcEntryTable table = BuildRcEntryTable(state, tweaks, index.array());
    const qsizetype rowCount = semiFull ? RcFullEntryCount : RcRecordCount(index.view().size());
    if (table.rows.size() != rowCount || table.records.size() != rowCount)
        std::abort();

    const qsizetype first = windowByte * rowCount / 256;
    const RcEntryTable rows = window(table, first);
    qsizetype leftOut = 0;
    if (rows.records != expectedRecords(index.view(), semiFull, rowCount, first, rows.rows.size(), &leftOut)
        || table.recordsLeftOut != leftOut)
        std::abort();
    for (qsizetype row = 0; row < rows.rows.size(); ++row) {
        checkRow(rows.rows[row], first + row, rows.records[row].has_value());
        if (!state.UseTweaks && rows.rows[row][RcColRedirect] != "-")
            std::abort();
    }

    const QByteArray text = RcListText(state, rows);
    checkLines(text);
    if (state.lstSrcFiles[ExtractPane].size() != rows.rows.size())
        std::abort();
    const ExactBytes listBytes(text);
    const RcList list = ParseRcList(listBytes.array());
    if (list.indexName != "RC2DEMO.IDX" || list.rows != rows.rows)
        std::abort();

    const std::optional<QByteArray> built = RcIndexFromRows(state, list.rows);
    const std::optional<QByteArray> expected = expectedIndex(rows);
    if (built != expected)
        std::abort();
    if (!built && (box.shown.isEmpty() || box.shown.last().text != QStringLiteral("Value not in range")))
        std::abort();
    // Without redirects the build gives back the window's records, byte for byte.
    const qsizetype windowStart = index.view().size() - (rowCount - first) * RcRecordSize;
    if (!state.UseTweaks && *built != index.view().sliced(windowStart, rows.rows.size() * RcRecordSize))
        std::abort();
    return 0;
}
