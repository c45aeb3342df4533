// SPDX-License-Identifier: MIT
#pragma once
// The open-file dialog behind a small interface, so that the window's handlers
// can be driven by a script in tests. Filters are given in the classic form
// "description|pattern|description|pattern" with ';' between the patterns of
// one entry; entries are numbered from 1.

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace tobx {

struct OpenFileRequest {
    QString title;
    QString filter;
    int filterIndex = 1;  // the entry preselected, from 1
    QString initialFile;  // a folder and a name (the name may be a pattern)
};

struct ChosenFile {
    QString fullPath;
    QString bareName; // the file name without its folder
};

class OpenFileDialog {
public:
    virtual ~OpenFileDialog() = default;
    // Only an existing file in an existing folder can be chosen; nothing when
    // the user cancels.
    virtual std::optional<ChosenFile> open(const OpenFileRequest& request) = 0;
};

// The classic filter as Qt name filters, one "description (patterns)" per
// entry with the patterns separated by blanks. A trailing description without
// a pattern is dropped.
QStringList QtNameFilters(const QString& filter);

struct InitialFile {
    QString folder; // empty when the initial file names no folder
    QString name;
};
// Splits an initial file name at its last '/'.
InitialFile SplitInitialFile(const QString& initialFile);

// Where a file dialog first opens: the folder the program was started from,
// or the home folder when that is the program's own folder (an installed
// program would start in /usr/bin).
QString FirstDialogFolder(const QString& startDir, const QString& programFolder, const QString& home);

class QtOpenFileDialog final : public OpenFileDialog {
public:
    explicit QtOpenFileDialog(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    void setParent(QWidget* parent) { m_parent = parent; }
    std::optional<ChosenFile> open(const OpenFileRequest& request) override;

private:
    QWidget* m_parent;
};

} // namespace tobx
