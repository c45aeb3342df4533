// SPDX-License-Identifier: MIT
#pragma once
// Synthetic Rollcage index and image pairs. The image begins with "GT20" and
// the index with a record at offset 0; the records point at slices of the
// image that never overlap and come in an order of their own, some of them
// empty. Everything follows from the seed, and the
// image can be streamed to disk in pieces with the same bytes as in memory.

#include <QByteArray>
#include <QList>
#include <QString>

namespace tobx::samples {

struct RcSampleRecord {
    quint32 offset = 0;
    quint32 length = 0;
    quint32 word3 = 0;
    quint32 word4 = 0;
};

// The records of an index of `entries` entries over an image of imageSize
// bytes (at most 4 GiB, so that every offset fits into a record).
QList<RcSampleRecord> RcSampleRecords(int entries, qint64 imageSize, quint32 seed);

// The index bytes: 16 per record, little-endian.
QByteArray MakeRcIndex(const QList<RcSampleRecord>& records);

// The image bytes, in memory.
QByteArray MakeRcImage(qint64 imageSize, quint32 seed);

// The same image written in pieces, never held whole in memory.
bool WriteRcImage(const QString& path, qint64 imageSize, quint32 seed);

// The image path that belongs to an index path: "img" in place of its last
// three characters.
QString RcSampleImagePath(const QString& indexPath);

// Writes an index and its image; false on failure.
bool WriteRcPair(const QString& indexPath, int entries, qint64 imageSize, quint32 seed);

} // namespace tobx::samples
