// SPDX-License-Identifier: MIT
#pragma once
// Path and number utilities shared by every operation, and the rules that keep
// each pane's output path in step with its source and destination folder.
// File-system paths use '/', and a source folder keeps its trailing '/'.

#include "AppState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tobx {

// Size in bytes of the regular file at path, or -1 when it cannot be had.
double GetFileSize(const QString& path);

// dir followed by name, with one '/' between them unless dir ends in one.
QString JoinPath(const QString& dir, const QString& name);

// Four bytes, least significant first.
QByteArray EncodeLE32(quint32 value);
void AppendLE32(QByteArray& out, quint32 value);
// The four bytes at `at`, least significant first; the caller checks the bounds.
quint32 DecodeLE32(QByteArrayView bytes, qsizetype at = 0);

// Removes the Build pane's list folder from the front of a list field when the
// field begins with it (case ignored, '/' and '\' alike) and is longer.
void StripLstDir(const AppState& state, QByteArray& field);

// Lower-case extension after the last full stop, without it; empty when none.
QString GetFileExt(const QString& name);

// Derives DstFile(pane).FName from the pane's source. Returns false with a
// reason when the Build pane's list file exists but cannot be read (the name
// is then emptied).
bool SetDstFileName(AppState& state, int pane, QString* reason = nullptr);

// DstFile(pane).FPath from its folder and output name.
void UpdateDstPath(AppState& state, int pane);

// The destination folder of a pane changed (the folder list opened another
// folder): FDir becomes the folder, then FPath follows.
void SetDstFolder(AppState& state, int pane, const QString& folder);

// Fills SrcFile(pane) from a chosen file, then derives the output name and
// path, as source selection does after its dialog.
void SelectSourceFile(AppState& state, int pane, const QString& fullPath, const QString& bareName);

// F5 and the dispatcher before every Build-pane operation: the output name is
// read again from the list file's first field.
bool RefreshBuildPane(AppState& state, QString* reason = nullptr);

} // namespace tobx
