// SPDX-License-Identifier: MIT
#include "FileUtils.h"

#include "ListFile.h"
#include "Names.h"

#include <QFileInfo>
#include <QtEndian>

namespace tobx {

double GetFileSize(const QString& path)
{
    if (path.isEmpty())
        return -1;
    const QFileInfo info(path);
    if (!info.isFile())
        return -1;
    return double(info.size());
}

QString JoinPath(const QString& dir, const QString& name)
{
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir + QLatin1Char('/') + name;
}

QByteArray EncodeLE32(quint32 value)
{
    QByteArray bytes;
    AppendLE32(bytes, value);
    return bytes;
}

void AppendLE32(QByteArray& out, quint32 value)
{
    for (int n = 0; n < 4; ++n)
        out.append(char((value >> (8 * n)) & 0xFF));
}

quint32 DecodeLE32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

void StripLstDir(const AppState& state, QByteArray& field)
{
    const QString dir = state.SrcFile[BuildPane].FDir;
    if (field.size() <= dir.size())
        return;
    // One byte of the field is one character of the folder (Windows-1252).
    QString head = NameToText(QByteArrayView(field).first(dir.size()));
    head.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString folder = dir;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (head.compare(folder, Qt::CaseInsensitive) == 0)
        field.remove(0, dir.size());
}

QString GetFileExt(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    return name.mid(dot + 1).toLower();
}

bool SetDstFileName(AppState& state, int pane, QString* reason)
{
    const PATHS& src = state.SrcFile[pane];
    PATHS& dst = state.DstFile[pane];
    if (pane == ExtractPane) {
        if (!src.FExt.isEmpty())
            dst.FName = src.FName.chopped(src.FExt.size()) + QStringLiteral("lst");
        else if (!src.FName.isEmpty())
            dst.FName = src.FName + QStringLiteral(".lst");
        return true;
    }
    dst.FName.clear();
    if (GetFileSize(src.FPath) <= 0)
        return true;
    std::optional<QByteArray> first = ReadFirstListField(src.FPath, reason);
    if (!first)
        return false;
    StripLstDir(state, *first);
    // The first "field" of a binary file is no name to show or to write to.
    if (IsPrintableName(*first))
        dst.FName = NameToPath(*first);
    return true;
}

void UpdateDstPath(AppState& state, int pane)
{
    PATHS& dst = state.DstFile[pane];
    dst.FPath = JoinPath(dst.FDir, dst.FName);
}

void SetDstFolder(AppState& state, int pane, const QString& folder)
{
    state.DstFile[pane].FDir = folder;
    UpdateDstPath(state, pane);
}

void SelectSourceFile(AppState& state, int pane, const QString& fullPath, const QString& bareName)
{
    PATHS& src = state.SrcFile[pane];
    src.FPath = fullPath;
    src.FDir = fullPath.chopped(qMin(bareName.size(), fullPath.size()));
    src.FName = bareName;
    src.FExt = GetFileExt(bareName);
    SetDstFileName(state, pane);
    UpdateDstPath(state, pane);
}

bool RefreshBuildPane(AppState& state, QString* reason)
{
    const bool ok = SetDstFileName(state, BuildPane, reason);
    UpdateDstPath(state, BuildPane);
    return ok;
}

} // namespace tobx
