// SPDX-License-Identifier: MIT
// The field reader of both list kinds on arbitrary list text, in memory, as the
// builds read a list: the first byte picks the list's folder, the rest is the
// text. The fields must be those of a plain line-and-comma split, the first
// field the same whether read from the whole text or from its first line only
// (as detection and the Build pane read it), the Rollcage rows and values
// those the format describes, and a list written from what was read must read
// back the same.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcFormat.h"

#include <algorithm>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

constexpr quint64 kMaxValue = 0xFFFFFFFFu;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

QByteArrayView withoutLeadingBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    return text;
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    text = withoutLeadingBlanks(text);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Past the line end at `at`: CR LF, a lone CR or a lone LF.
qsizetype pastLineEnd(QByteArrayView text, qsizetype at)
{
    if (at < text.size() && text.at(at) == '\r' && at + 1 < text.size() && text.at(at + 1) == '\n')
        return at + 2;
    return at < text.size() ? at + 1 : at;
}

qsizetype lineEnd(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && !isLineEnd(text.at(at)))
        ++at;
    return at;
}

// Line by line, each line cut at its commas, blanks in front of each piece dropped.
QList<QByteArrayView> splitFields(QByteArrayView text)
{
    QList<QByteArrayView> fields;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype end = lineEnd(text, at);
        const QByteArrayView line = text.sliced(at, end - at);
        qsizetype pieceStart = 0;
        for (qsizetype i = 0; i <= line.size(); ++i) {
            if (i == line.size() || line.at(i) == ',') {
                fields.append(withoutLeadingBlanks(line.sliced(pieceStart, i - pieceStart)));
                pieceStart = i + 1;
            }
        }
        at = pastLineEnd(text, end);
    }
    return fields;
}

QList<QByteArray> readFields(const QByteArray& text)
{
    QList<QByteArray> fields;
    ListFieldReader reader(text);
    QByteArray field;
    while (reader.next(field))
        fields.append(field);
    return fields;
}

// A run of decimal digits as a number, or nothing when it is above `limit`.
std::optional<quint64> digitsValue(QByteArrayView digits, quint64 limit)
{
    while (!digits.isEmpty() && digits.front() == '0')
        digits = digits.sliced(1);
    if (digits.size() > 19)
        return std::nullopt;
    quint64 value = 0;
    for (char c : digits)
        value = value * 10 + quint64(c - '0');
    return value <= limit ? std::optional<quint64>(value) : std::nullopt;
}

qsizetype digitRun(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isDigit(text.at(at)))
        ++at;
    return at;
}

std::optional<quint32> expectedValue(QByteArrayView field)
{
    field = trimmedBlanks(field);
    const bool negative = field.startsWith('-');
    if (negative || field.startsWith('+'))
        field = field.sliced(1);
    const qsizetype wholeEnd = digitRun(field, 0);
    qsizetype fractionEnd = wholeEnd;
    if (wholeEnd < field.size() && field.at(wholeEnd) == '.')
        fractionEnd = digitRun(field, wholeEnd + 1);
    const QByteArrayView number = field.first(fractionEnd);
    const bool nonZero = std::any_of(number.begin(), number.end(), [](char c) { return c >= '1' && c <= '9'; });
    if (negative && nonZero)
        return std::nullopt;
    const std::optional<quint64> value = digitsValue(field.first(wholeEnd), kMaxValue);
    return value ? std::optional<quint32>(quint32(*value)) : std::nullopt;
}

RcRedirect expectedRedirect(QByteArrayView field)
{
    field = trimmedBlanks(field);
    if (field == "-")
        return {RcRedirectKind::Own, 0};
    const bool negative = field.startsWith('-');
    if (negative || field.startsWith('+'))
        field = field.sliced(1);
    if (field.isEmpty() || digitRun(field, 0) != field.size())
        return {RcRedirectKind::Invalid, 0};
    // Too large a number counts as just past any value, as the reader keeps it.
    const qint64 value = qint64(digitsValue(field, kMaxValue + 1).value_or(kMaxValue + 1));
    return {RcRedirectKind::Row, negative ? -value : value};
}

std::optional<QByteArray> expectedIndex(const QList<RcRow>& rows)
{
    QByteArray index;
    for (qsizetype c = 0; c < rows.size(); ++c) {
        const RcRedirect redirect = expectedRedirect(rows[c][RcColRedirect]);
        const qint64 source = redirect.kind == RcRedirectKind::Own ? c : redirect.row;
        if (redirect.kind == RcRedirectKind::Invalid || source < 0 || source >= rows.size())
            return std::nullopt;
        std::array<quint32, 4> values{};
        for (int column = RcColOffset; column <= RcColWord4; ++column) {
            const std::optional<quint32> value = expectedValue(rows[source][column]);
            if (!value)
                return std::nullopt;
            values[column - RcColOffset] = *value;
        }
        AppendRcRecord(index, RcRecord{values[0], values[1], values[2], values[3]});
    }
    return index;
}

// The list folder comes off the front of a field that begins with it and is
// longer, and nothing else is ever taken off.
void checkStrip(const AppState& state, const QByteArray& field)
{
    QByteArray stripped = field;
    StripLstDir(state, stripped);
    const qsizetype removed = field.size() - stripped.size();
    const qsizetype folderSize = state.SrcFile[BuildPane].FDir.size();
    if (!field.endsWith(stripped) || (removed != 0 && removed != folderSize) || (removed && stripped.isEmpty()))
        std::abort();
    const QByteArray folder = PathToName(state.SrcFile[BuildPane].FDir);
    if (!folder.isEmpty() && field.size() > folder.size() && field.startsWith(folder) && removed == 0)
        std::abort();
}

// The Tobrava II build's reading: every field, the first one naming the archive.
void checkTobList(const AppState& state, const ExactBytes& text)
{
    const QList<QByteArray> fields = readFields(text.array());
    const QList<QByteArrayView> expected = splitFields(text.view());
    if (!std::equal(fields.begin(), fields.end(), expected.begin(), expected.end()))
        std::abort();
    const QByteArray first = FirstListField(text.array());
    if (first != (fields.isEmpty() ? QByteArray() : fields.first()))
        std::abort();
    // Detection and the Build pane read the first line only, up to its LF.
    const qsizetype lf = text.view().indexOf('\n');
    const ExactBytes firstLine(lf < 0 ? text.view() : text.view().first(lf + 1));
    if (FirstListField(firstLine.array()) != first)
        std::abort();

    QByteArray written = first + "\r\n\r\n";
    for (qsizetype i = 1; i < fields.size(); ++i) {
        checkStrip(state, fields[i]);
        if (!fields[i].isEmpty())
            written += fields[i] + "\r\n";
    }
    QList<QByteArray> reread = readFields(written);
    reread.removeAll(QByteArray());
    QList<QByteArray> names = fields;
    names.removeAll(QByteArray());
    if (reread != names)
        std::abort();
}

// The Rollcage build's reading: one field from the first line, then rows of
// ten non-empty fields.
void checkRcList(AppState& state, const ExactBytes& text, RecordingBox& box)
{
    const RcList list = ParseRcList(text.array());
    const qsizetype firstEnd = lineEnd(text.view(), 0);
    const QList<QByteArrayView> firstLine = splitFields(text.view().first(firstEnd));
    if (list.indexName != (firstLine.isEmpty() ? QByteArrayView() : firstLine.first()))
        std::abort();
    QList<QByteArrayView> fields = splitFields(text.view().sliced(pastLineEnd(text.view(), firstEnd)));
    fields.removeIf([](QByteArrayView field) { return field.isEmpty(); });
    if (list.rows.size() != fields.size() / RcColumnCount)
        std::abort();
    for (qsizetype r = 0; r < list.rows.size(); ++r)
        for (int column = 0; column < RcColumnCount; ++column)
            if (list.rows[r][column] != fields[r * RcColumnCount + column])
                std::abort();

    for (const RcRow& row : list.rows) {
        const RcRedirect redirect = ParseRcRedirect(row[RcColRedirect]);
        const RcRedirect expected = expectedRedirect(row[RcColRedirect]);
        if (redirect.kind != expected.kind || redirect.row != expected.row)
            std::abort();
        for (int column = RcColOffset; column <= RcColWord4; ++column)
            if (ParseRcValue(row[column]) != expectedValue(row[column]))
                std::abort();
    }
    box.shown.clear();
    const std::optional<QByteArray> index = RcIndexFromRows(state, list.rows);
    if (index != expectedIndex(list.rows) || (!index && box.shown.size() != 1))
        std::abort();

    QByteArray written = RcListHeader(list.indexName);
    for (const RcRow& row : list.rows)
        written += FormatRcListRow(row) + "\r\n";
    const RcList reread = ParseRcList(written);
    if (reread.indexName != list.indexName || reread.rows != list.rows)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString kFolders[] = {QString(), QStringLiteral("/"), QStringLiteral("/mod/"),
                                       QStringLiteral("/Mod/Sub/"), QStringLiteral("/w/\u00e9t\u00e9/")};
    const FreshRun run;
    AppState& state = run->state;
    RecordingBox& box = run->box;

    InputCutter input(data, size);
    state.SrcFile[BuildPane].FDir = kFolders[input.byte() % std::size(kFolders)];
    const ExactBytes text(input.rest());
    checkTobList(state, text);
    checkRcList(state, text, box);
    return 0;
}
