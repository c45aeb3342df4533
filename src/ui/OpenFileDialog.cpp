// SPDX-License-Identifier: MIT
#include "OpenFileDialog.h"

#include "StayOnTop.h"

#include "core/FileSystem.h"

#include <QFileDialog>
#include <QFileInfo>

namespace tobx {

QStringList QtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The description is kept as it stands even when it already names its
        // patterns: the dialog shows it without Qt's own pattern list.
        filters.append(parts.at(i) + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')'));
    }
    return filters;
}

InitialFile SplitInitialFile(const QString& initialFile)
{
    const qsizetype slash = initialFile.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {QString(), initialFile};
    return {slash == 0 ? QStringLiteral("/") : initialFile.left(slash), initialFile.mid(slash + 1)};
}

QString FirstDialogFolder(const QString& startDir, const QString& programFolder, const QString& home)
{
    return SameFile(startDir, programFolder) ? home : startDir;
}

std::optional<ChosenFile> QtOpenFileDialog::open(const OpenFileRequest& request)
{
    QFileDialog dialog(m_parent, request.title);
    // Qt's own dialog: the platform dialogs rewrite the descriptions of the
    // filters, and these must read exactly as given.
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    const InitialFile initial = SplitInitialFile(request.initialFile);
    if (!initial.folder.isEmpty() && QFileInfo(initial.folder).isDir())
        dialog.setDirectory(initial.folder);
    if (!initial.name.isEmpty())
        dialog.selectFile(initial.name);

    KeepAboveStayOnTopWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    const QFileInfo chosen(files.constFirst());
    if (!chosen.isFile())
        return std::nullopt;
    return ChosenFile{chosen.absoluteFilePath(), chosen.fileName()};
}

} // namespace tobx
