// SPDX-License-Identifier: MIT
#pragma once
// Shared by the extraction and build tests: sample index and image pairs on
// disk, the pane setup, and the list an extraction should write, worked out
// here from the list rules rather than by the code under test.

#include "TestSupport.h"

#include "RcSamples.h"
#include "core/FileUtils.h"
#include "rollcage/RcCatalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <optional>

namespace tobx::test {

using samples::RcSampleRecord;

struct RcPairOnDisk {
    QString indexPath;
    QByteArray index;
    QList<RcSampleRecord> records;
    QByteArray image;
};

inline RcPairOnDisk writeRcPair(Harness& h, int entries, qint64 imageSize, quint32 seed,
                                const QString& indexName = QStringLiteral("src/RC.IDX"))
{
    RcPairOnDisk pair;
    pair.records = samples::RcSampleRecords(entries, imageSize, seed);
    pair.index = samples::MakeRcIndex(pair.records);
    pair.image = samples::MakeRcImage(imageSize, seed);
    pair.indexPath = h.write(indexName, pair.index);
    h.write(samples::RcSampleImagePath(indexName), pair.image);
    return pair;
}

// The Extract pane with this index as its source and dest/ as destination.
inline void setUpExtract(Harness& h, const QString& indexPath, const QString& destination = QStringLiteral("dest"))
{
    QDir().mkpath(h.path(destination));
    SetDstFolder(h.state, ExtractPane, h.path(destination));
    SelectSourceFile(h.state, ExtractPane, indexPath, QFileInfo(indexPath).fileName());
}

// The Build pane with this list as its source and the destination folder.
inline void setUpBuild(Harness& h, const QString& listPath, const QString& destination = QStringLiteral("out"))
{
    QDir().mkpath(h.path(destination));
    SetDstFolder(h.state, BuildPane, h.path(destination));
    SelectSourceFile(h.state, BuildPane, listPath, QFileInfo(listPath).fileName());
}

// The full-version entries after which a list of 290 or 135 rows has an empty line.
inline const QSet<int>& separatorEntries()
{
    static const QSet<int> entries{59, 79, 119, 169, 189, 199, 203, 209, 211, 217,
                                   218, 231, 233, 235, 252, 260, 282, 285, 288};
    return entries;
}

inline QByteArray entryName(int entry)
{
    return "RCIMG." + QByteArray::number(entry).rightJustified(3, '0');
}

// One row as the extraction should write it.
struct ExpectedRow {
    QByteArray redirect = "-";
    QByteArray origin = "-";
    QByteArray fileName = "-";
    std::optional<RcSampleRecord> record;
    QByteArray typeCode = "-";
    QByteArray description = "-";
};

inline QByteArray expectedLine(int row, const ExpectedRow& e)
{
    const RcSampleRecord r = e.record.value_or(RcSampleRecord{});
    QList<QByteArray> fields{e.redirect,
                             QByteArray::number(row),
                             e.origin,
                             e.fileName,
                             QByteArray::number(r.offset),
                             QByteArray::number(r.length),
                             QByteArray::number(r.word3),
                             QByteArray::number(r.word4),
                             e.typeCode,
                             e.description};
    return fields.join(", ");
}

// The full-version number of a row of a table of rowCount rows, or -1.
inline int fullEntryOf(int row, int rowCount)
{
    if (rowCount == 290)
        return row;
    if (rowCount == 135)
        return RcDemoToFull(qint16(row));
    return -1;
}

// Rows of an extraction without the semi-full conversion: record k in row k.
inline QList<ExpectedRow> plainRows(const QList<RcSampleRecord>& records)
{
    const int rowCount = int(records.size());
    QList<ExpectedRow> rows(rowCount);
    for (int k = 0; k < rowCount; ++k) {
        rows[k].fileName = entryName(k);
        rows[k].record = records[k];
        const int full = fullEntryOf(k, rowCount);
        if (full >= 0) {
            rows[k].typeCode = RcEntryInfo(qint16(full)).typeCode;
            rows[k].description = RcEntryInfo(qint16(full)).description;
        }
    }
    return rows;
}

// Rows of the semi-full conversion: 290 rows; a demo record goes to the row of
// its full-version number, the first record of a row winning.
inline QList<ExpectedRow> semiFullRows(const QList<RcSampleRecord>& records)
{
    QList<ExpectedRow> rows(290);
    for (int row = 0; row < 290; ++row) {
        rows[row].typeCode = RcEntryInfo(qint16(row)).typeCode;
        rows[row].description = RcEntryInfo(qint16(row)).description;
    }
    for (int k = int(records.size()) - 1; k >= 0; --k) {
        const int row = k < 135 ? RcDemoToFull(qint16(k)) : k;
        if (row >= 290)
            continue;
        rows[row].fileName = entryName(row);
        rows[row].record = records[k];
        rows[row].origin = row == k ? QByteArray("-") : "from " + QByteArray::number(k);
    }
    return rows;
}

inline QList<QByteArray> expectedLines(const QList<ExpectedRow>& rows)
{
    QList<QByteArray> lines;
    for (int row = 0; row < rows.size(); ++row)
        lines.append(expectedLine(row, rows[row]));
    return lines;
}

inline QByteArray expectedListText(const QByteArray& indexName, const QList<ExpectedRow>& rows)
{
    QByteArray text = indexName + "\r\n\r\n";
    const QList<QByteArray> lines = expectedLines(rows);
    for (int row = 0; row < lines.size(); ++row) {
        text += lines[row] + "\r\n";
        if (separatorEntries().contains(fullEntryOf(row, int(rows.size()))))
            text += "\r\n";
    }
    return text;
}

inline QByteArray sliceOf(const QByteArray& image, const RcSampleRecord& record)
{
    return image.mid(record.offset, record.length);
}

// "82:88 83:89" to a map from row to redirect.
inline QHash<int, QByteArray> parseRedirects(const QString& text)
{
    QHash<int, QByteArray> redirects;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        redirects.insert(pair.section(QLatin1Char(':'), 0, 0).toInt(), pair.section(QLatin1Char(':'), 1, 1).toLatin1());
    return redirects;
}

inline QStringList toTexts(const QList<QByteArray>& lines)
{
    QStringList texts;
    for (const QByteArray& line : lines)
        texts.append(QString::fromLatin1(line));
    return texts;
}

// The entry files in a folder, sorted.
inline QStringList entryFilesIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("RCIMG.*")}, QDir::Files | QDir::System, QDir::Name);
}

} // namespace tobx::test
