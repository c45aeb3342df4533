// SPDX-License-Identifier: MIT
#pragma once
// The Rollcage index, image and list file formats as this program reads and
// writes them. Index records are 16 bytes: offset, length and two words that
// are carried through unchanged, each an unsigned 32-bit little-endian value.
// List rows are ten fields joined by ", "; list texts are Windows-1252 bytes
// with CR LF line ends.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace tobx {

inline constexpr qsizetype RcRecordSize = 16;
inline constexpr int RcFullEntryCount = 290;
inline constexpr int RcDemoEntryCount = 135;

struct RcRecord {
    quint32 offset = 0;
    quint32 length = 0;
    quint32 word3 = 0;
    quint32 word4 = 0;

    bool operator==(const RcRecord&) const = default;
};

// Number of whole records in an index of indexSize bytes.
qsizetype RcRecordCount(qsizetype indexSize);
// Where record k starts: records are aligned to the end of the file, so the
// first indexSize mod 16 bytes are passed over.
qsizetype RcRecordPosition(qsizetype indexSize, qsizetype k);

// The 16 bytes at `at`; the caller checks that they are there.
RcRecord ReadRcRecord(QByteArrayView bytes, qsizetype at);
void AppendRcRecord(QByteArray& out, const RcRecord& record);

// "RCIMG." and the entry number, zero-padded to at least three digits.
QByteArray RcEntryFileName(int entry);
// A row number as a list writes it. The numbers of the full numbering are
// made once and shared: a table of 290 rows names each several times.
QByteArray RcRowText(int row);

// The image that pairs with an index: the index path with "img" in place of
// its last three characters. When no file has that exact name, a single file
// in the same folder whose name differs only in case is taken instead, so that
// RC.IDX finds RC.IMG on a file system that tells case apart.
QString RcImagePath(const QString& indexPath);

// The columns of a list row.
enum RcColumn {
    RcColRedirect = 0,
    RcColNumber = 1,
    RcColOrigin = 2,
    RcColFileName = 3,
    RcColOffset = 4,
    RcColLength = 5,
    RcColWord3 = 6,
    RcColWord4 = 7,
    RcColTypeCode = 8,
    RcColDescription = 9,
};
inline constexpr int RcColumnCount = 10;
using RcRow = std::array<QByteArray, RcColumnCount>;

// The row as one line, fields joined by ", ", without a line end.
QByteArray FormatRcListRow(const RcRow& row);

// The first two lines of a list: the index name and an empty line.
QByteArray RcListHeader(const QByteArray& indexName);

// Full-version entries after which the list puts an empty line.
bool IsRcGroupEnd(int fullEntry);

struct RcList {
    QByteArray indexName; // the first field of the first line
    QList<RcRow> rows;    // the complete rows of ten fields after it
};

// Reads a list: the first line gives one field; after it every non-empty field
// counts, in file order, ten to a row; an incomplete last row is dropped.
RcList ParseRcList(const QByteArray& text);

// A redirect field: "-" names no other row; otherwise an optional sign and
// decimal digits. Nothing when the field is neither. Values that do not fit
// saturate, so any of them is out of range for a list.
enum class RcRedirectKind { Own, Row, Invalid };
struct RcRedirect {
    RcRedirectKind kind = RcRedirectKind::Own;
    qint64 row = 0;
};
RcRedirect ParseRcRedirect(QByteArrayView field);

// A value field: the leading decimal number (optional sign, digits, an
// optional fraction that is dropped); a field without one counts as 0.
// Nothing when the number is negative or above 4294967295.
std::optional<quint32> ParseRcValue(QByteArrayView field);

} // namespace tobx
