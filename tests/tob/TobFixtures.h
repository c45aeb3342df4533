// SPDX-License-Identifier: MIT
#pragma once
// Setting up the Extract and Build panes the way source selection and the
// destination folder handlers leave them, on files below a test's folder.

#include "TestSupport.h"
#include "core/FileUtils.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStringList>

#include <functional>
#include <utility>

namespace tobx::test {

// The archive is written to archiveFile; the list goes to destination.
inline void PrepareExtraction(AppState& state, Harness& h, const QByteArray& archive,
                              const QString& archiveFile = QStringLiteral("src/data.tob"),
                              const QString& destination = QStringLiteral("out"), bool makeDestination = true)
{
    const QString path = h.write(archiveFile, archive);
    if (makeDestination)
        QDir().mkpath(h.path(destination));
    SetDstFolder(state, ExtractPane, h.path(destination));
    SelectSourceFile(state, ExtractPane, path, QFileInfo(path).fileName());
}

inline void PrepareExtraction(Harness& h, const QByteArray& archive, const QString& archiveFile = QStringLiteral("src/data.tob"),
                              const QString& destination = QStringLiteral("out"), bool makeDestination = true)
{
    PrepareExtraction(h.state, h, archive, archiveFile, destination, makeDestination);
}

// The list is written to listFile; the archive goes to destination.
inline void PrepareBuild(AppState& state, Harness& h, const QByteArray& list, const QString& listFile = QStringLiteral("mod/data.lst"),
                         const QString& destination = QStringLiteral("outdir"))
{
    const QString path = h.write(listFile, list);
    QDir().mkpath(h.path(destination));
    SetDstFolder(state, BuildPane, h.path(destination));
    SelectSourceFile(state, BuildPane, path, QFileInfo(path).fileName());
    RefreshBuildPane(state);
}

// Every file, folder and link below dir, relative to it, sorted.
inline QStringList EntriesBelow(const QString& dir)
{
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.append(QDir(dir).relativeFilePath(it.next()));
    entries.sort();
    return entries;
}

} // namespace tobx::test
