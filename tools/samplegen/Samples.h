// SPDX-License-Identifier: MIT
#pragma once
// Synthetic game files for tests, the demo and the benchmark: Tobrava II
// archives, Tobrava I pictures and list files. Everything is generated from a
// seed, so the same call always gives the same bytes.

#include <QByteArray>
#include <QList>
#include <QString>

namespace tobx::samples {

struct TobEntry {
    QByteArray name; // Windows-1252, '\' between folders
    QByteArray content;
};

// The archive bytes: "VXBG", the directory size, the directory, the data.
QByteArray MakeTobArchive(const QList<TobEntry>& entries);

// `count` entries in nested folders with sizes from 0 to maxSize bytes (some
// empty), names unique and safe.
QList<TobEntry> NestedEntries(int count, int maxSize, quint32 seed);

// Deterministic filler bytes.
QByteArray Filler(qsizetype size, quint32 seed);

// A list file as extraction writes it: the archive name, an empty line, then
// one name per line, every line ended by CR LF.
QByteArray MakeTobList(const QByteArray& archiveName, const QList<QByteArray>& names);

// A Tobrava I picture: a JFIF picture without its first ten bytes.
QByteArray MakeToj(qsizetype size, quint32 seed);

// Writes bytes to path, creating its folders; false on failure.
bool WriteFile(const QString& path, const QByteArray& bytes);

} // namespace tobx::samples
