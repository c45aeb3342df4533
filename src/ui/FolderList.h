// SPDX-License-Identifier: MIT
#pragma once
// The folder list of a pane, in the manner of a classic folder list box: the
// current folder with its ancestors above it and its subfolders below, each
// level indented. A single click or the arrow keys only highlight an entry;
// a double click or Enter opens it, and only opening changes the folder.

#include <QListWidget>

namespace tobx {

class FolderList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;
    static constexpr int LevelRole = Qt::UserRole + 1;

    explicit FolderList(QWidget* parent = nullptr);

    QString currentFolder() const { return m_folder; }
    // Opens folder (an existing, readable folder); false leaves the list as it was.
    bool setCurrentFolder(const QString& folder);
    // Lists the current folder again, keeping the highlighted entry.
    void refresh();
    // The folder of the highlighted entry.
    QString highlightedFolder() const;
    // Opens the highlighted entry.
    void openHighlighted();

Q_SIGNALS:
    // The current folder changed (opened by the user or set by the program).
    void folderChanged(const QString& folder);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void rebuild(const QString& highlight);

    QString m_folder;
};

} // namespace tobx
