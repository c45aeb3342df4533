// SPDX-License-Identifier: MIT
#pragma once
// The drive selector of a pane: the mounted volumes, the root first. On a
// system without drive letters the volumes are the mount points. Its field
// shows the pane's current folder, and a folder typed or pasted there (Enter
// opens it) becomes the destination, so that folders far from the volume's
// root, hidden ones among them, are one step away.

#include <QComboBox>

namespace tobx {

class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    // Reads the mounted volumes again.
    void reload();
    // The root folder of the volume shown.
    QString currentRoot() const;
    // The volume that holds folder: the longest root it lies under.
    QString volumeOf(const QString& folder) const;
    // Shows the volume that holds folder, without reporting a change.
    void showVolumeOf(const QString& folder);
    // Shows the volume that holds folder and the folder in the field.
    void showFolder(const QString& folder);
    // The folder typed in the field, as a path: "~" is the home folder, a
    // file URL its local path.
    QString typedFolder() const;

Q_SIGNALS:
    // The user picked another volume.
    void driveChanged();
    // The user confirmed a folder typed in the field.
    void folderTyped(const QString& folder);

private:
    bool m_quiet = false;
};

} // namespace tobx
