// SPDX-License-Identifier: MIT
#include "RcFormat.h"

#include "core/FileUtils.h"
#include "core/ListFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <array>

namespace tobx {

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

QByteArrayView trimmedBlanks(QByteArrayView field)
{
    while (!field.isEmpty() && isBlank(field.front()))
        field = field.sliced(1);
    while (!field.isEmpty() && isBlank(field.back()))
        field.chop(1);
    return field;
}

// Adds one decimal digit, stopping just above any value a record can hold so
// that long digit strings cannot overflow.
quint64 appendDigit(quint64 value, char digit)
{
    return std::min<quint64>(value * 10 + quint64(digit - '0'), kMaxValue + 1);
}

// Where the first line ends: at its CR or LF, or at the end of the text.
qsizetype firstLineEnd(const QByteArray& text)
{
    const auto end = std::find_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; });
    return end - text.begin();
}

// Past the line end at `at` (CR LF, LF or CR); `at` itself when none is there.
qsizetype pastLineEnd(const QByteArray& text, qsizetype at)
{
    if (at < text.size() && text.at(at) == '\r')
        ++at;
    else if (at < text.size() && text.at(at) == '\n')
        return at + 1;
    else
        return at;
    if (at < text.size() && text.at(at) == '\n')
        ++at;
    return at;
}

} // namespace

qsizetype RcRecordCount(qsizetype indexSize)
{
    return indexSize < 0 ? 0 : indexSize / RcRecordSize;
}

qsizetype RcRecordPosition(qsizetype indexSize, qsizetype k)
{
    return indexSize % RcRecordSize + RcRecordSize * k;
}

RcRecord ReadRcRecord(QByteArrayView bytes, qsizetype at)
{
    return RcRecord{DecodeLE32(bytes, at), DecodeLE32(bytes, at + 4), DecodeLE32(bytes, at + 8),
                    DecodeLE32(bytes, at + 12)};
}

void AppendRcRecord(QByteArray& out, const RcRecord& record)
{
    AppendLE32(out, record.offset);
    AppendLE32(out, record.length);
    AppendLE32(out, record.word3);
    AppendLE32(out, record.word4);
}

namespace {

template<typename Make>
std::array<QByteArray, RcFullEntryCount> textsOfFullRows(Make make)
{
    std::array<QByteArray, RcFullEntryCount> texts;
    for (int row = 0; row < RcFullEntryCount; ++row)
        texts[size_t(row)] = make(row);
    return texts;
}

QByteArray entryFileName(int entry)
{
    return "RCIMG." + QByteArray::number(entry).rightJustified(3, '0');
}

bool isFullRow(int row)
{
    return row >= 0 && row < RcFullEntryCount;
}

} // namespace

QByteArray RcEntryFileName(int entry)
{
    static const auto names = textsOfFullRows(entryFileName);
    return isFullRow(entry) ? names[size_t(entry)] : entryFileName(entry);
}

QByteArray RcRowText(int row)
{
    static const auto numbers = textsOfFullRows([](int n) { return QByteArray::number(n); });
    return isFullRow(row) ? numbers[size_t(row)] : QByteArray::number(row);
}

QString RcImagePath(const QString& indexPath)
{
    const QString exact = indexPath.left(std::max<qsizetype>(indexPath.size() - 3, 0)) + QStringLiteral("img");
    if (QFileInfo::exists(exact))
        return exact;
    const QFileInfo wanted(exact);
    QStringList sameButCase;
    for (const QString& name : wanted.dir().entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
            sameButCase.append(name);
    if (sameButCase.size() == 1)
        return wanted.dir().filePath(sameButCase.first());
    return exact;
}

QByteArray FormatRcListRow(const RcRow& row)
{
    qsizetype size = 2 * (RcColumnCount - 1);
    for (const QByteArray& field : row)
        size += field.size();
    QByteArray line;
    line.reserve(size);
    for (int column = 0; column < RcColumnCount; ++column) {
        if (column > 0)
            line += ", ";
        line += row[column];
    }
    return line;
}

QByteArray RcListHeader(const QByteArray& indexName)
{
    return indexName + "\r\n\r\n";
}

bool IsRcGroupEnd(int fullEntry)
{
    static constexpr int kGroupEnds[] = {59,  79,  119, 169, 189, 199, 203, 209, 211, 217,
                                         218, 231, 233, 235, 252, 260, 282, 285, 288};
    return std::find(std::begin(kGroupEnds), std::end(kGroupEnds), fullEntry) != std::end(kGroupEnds);
}

RcList ParseRcList(const QByteArray& text)
{
    RcList list;
    list.indexName = FirstListField(text);
    // The reader looks at the rest of the text in place; only the fields kept
    // in rows are copied.
    const qsizetype rowsStart = pastLineEnd(text, firstLineEnd(text));
    ListFieldReader reader(QByteArray::fromRawData(text.constData() + rowsStart, text.size() - rowsStart));
    RcRow row;
    int filled = 0;
    QByteArrayView field;
    while (reader.next(field)) {
        if (field.isEmpty())
            continue;
        row[filled++] = field.toByteArray();
        if (filled == RcColumnCount) {
            list.rows.append(row);
            filled = 0;
        }
    }
    return list;
}

RcRedirect ParseRcRedirect(QByteArrayView field)
{
    field = trimmedBlanks(field);
    if (field == "-")
        return {RcRedirectKind::Own, 0};
    bool negative = false;
    if (!field.isEmpty() && (field.front() == '-' || field.front() == '+')) {
        negative = field.front() == '-';
        field = field.sliced(1);
    }
    if (field.isEmpty() || !std::all_of(field.begin(), field.end(), isDigit))
        return {RcRedirectKind::Invalid, 0};
    quint64 value = 0;
    for (char digit : field)
        value = appendDigit(value, digit);
    return {RcRedirectKind::Row, negative ? -qint64(value) : qint64(value)};
}

std::optional<quint32> ParseRcValue(QByteArrayView field)
{
    field = trimmedBlanks(field);
    bool negative = false;
    if (!field.isEmpty() && (field.front() == '-' || field.front() == '+')) {
        negative = field.front() == '-';
        field = field.sliced(1);
    }
    quint64 value = 0;
    bool anyNonZero = false;
    qsizetype at = 0;
    for (; at < field.size() && isDigit(field.at(at)); ++at) {
        value = appendDigit(value, field.at(at));
        anyNonZero = anyNonZero || field.at(at) != '0';
    }
    // A fraction is dropped, but it still makes "-0.5" a negative number.
    if (at < field.size() && field.at(at) == '.')
        for (++at; at < field.size() && isDigit(field.at(at)); ++at)
            anyNonZero = anyNonZero || field.at(at) != '0';
    if (negative && anyNonZero)
        return std::nullopt;
    if (value > kMaxValue)
        return std::nullopt;
    return quint32(value);
}

} // namespace tobx
