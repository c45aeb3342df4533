// SPDX-License-Identifier: MIT
// The Rollcage index reader on arbitrary index bytes, in memory, with the
// content catalogue and every tweak: the first bytes choose the edition the
// tweaks dialog opens for, whether tweaks are used, and up to eight clicks on
// its check boxes and options; the rest is the index, or, when the byte after
// the clicks has its top bit set, a pattern repeated to the length the next
// two bytes give, so that small inputs reach the 135 and 290 entries of the
// demo and full numberings. The table must place
// every record where its numbering says, the list written from it must parse
// back into the same rows, and the index the build makes of that list must
// hold, row by row, the record its redirect names, or be refused when a
// redirect names a row the list does not have.
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

// The row each record of the index belongs in, the nearest to the start of
// the index winning a row that two records want.
QList<std::optional<RcRecord>> expectedRecords(QByteArrayView index, bool semiFull, qsizetype rowCount,
                                               qsizetype* leftOut)
{
    QList<std::optional<RcRecord>> records(rowCount);
    *leftOut = 0;
    const qsizetype count = RcRecordCount(index.size());
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype row = semiFull && k < RcDemoEntryCount ? RcDemoToFull(qint16(k)) : k;
        if (row >= rowCount) {
            ++*leftOut;
            continue;
        }
        if (!records[row])
            records[row] = ReadRcRecord(index, RcRecordPosition(index.size(), k));
    }
    return records;
}

// The index bytes, given as they are or as a pattern to repeat.
QByteArray indexBytes(InputCutter& input)
{
    constexpr quint8 kRepeat = 0x80;
    if (!(input.byte() & kRepeat))
        return input.rest().toByteArray();
    // Past the full numbering a table only grows longer; nothing new is asked.
    constexpr qsizetype kLongest = RcFullEntryCount * RcRecordSize + RcRecordSize - 1;
    const qsizetype low = input.byte();
    const qsizetype length = std::min(low | qsizetype(input.byte()) << 8, kLongest);
    const QByteArrayView pattern = input.rest();
    QByteArray index(length, '\0');
    for (qsizetype at = 0; at < length && !pattern.isEmpty(); ++at)
        index[at] = pattern.at(at % pattern.size());
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

// Every line ends in CR LF, and the empty lines are the second one and, for
// the two known numberings, the group separators.
void checkLines(const QByteArray& text, qsizetype rowCount)
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
    qsizetype separators = 0;
    if (rowCount == RcFullEntryCount || rowCount == RcDemoEntryCount)
        for (qsizetype row = 0; row < rowCount; ++row)
            separators += IsRcGroupEnd(rowCount == RcFullEntryCount ? int(row) : RcDemoToFull(qint16(row)));
    if (emptyLines != 1 + separators)
        std::abort();
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
    RunState& run = freshRunState();
    AppState& state = run.state;
    RecordingBox& box = run.box;
    state.SrcFile[ExtractPane].FName = QStringLiteral("RC2DEMO.IDX");

    InputCutter input(data, size);
    RcTweakModel tweaks;
    chooseTweaks(input, state, tweaks);
    const ExactBytes index(indexBytes(input));
    const bool semiFull = state.UseTweaks && tweaks.active(kSemiFullCheck);

    const RcEntryTable table = BuildRcEntryTable(state, tweaks, index.array());
    const qsizetype rowCount = semiFull ? RcFullEntryCount : RcRecordCount(index.view().size());
    qsizetype leftOut = 0;
    if (table.rows.size() != rowCount || table.records != expectedRecords(index.view(), semiFull, rowCount, &leftOut)
        || table.recordsLeftOut != leftOut)
        std::abort();
    for (qsizetype row = 0; row < rowCount; ++row) {
        checkRow(table.rows[row], row, table.records[row].has_value());
        if (!state.UseTweaks && table.rows[row][RcColRedirect] != "-")
            std::abort();
    }

    const QByteArray text = RcListText(state, table);
    checkLines(text, rowCount);
    if (state.lstSrcFiles[ExtractPane].size() != rowCount)
        std::abort();
    const ExactBytes listBytes(text);
    const RcList list = ParseRcList(listBytes.array());
    if (list.indexName != "RC2DEMO.IDX" || list.rows != table.rows)
        std::abort();

    const std::optional<QByteArray> built = RcIndexFromRows(state, list.rows);
    const std::optional<QByteArray> expected = expectedIndex(table);
    if (built != expected)
        std::abort();
    if (!built && (box.shown.isEmpty() || box.shown.last().text != QStringLiteral("Value not in range")))
        std::abort();
    // Without redirects the build gives back the index's records, byte for byte.
    if (!state.UseTweaks && *built != index.view().last(rowCount * RcRecordSize))
        std::abort();
    return 0;
}
