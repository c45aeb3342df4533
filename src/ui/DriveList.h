#pragma once
// The drive selector of a pane: the mounted volumes, the root first. On a
// system without drive letters the volumes are the mount points.

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

Q_SIGNALS:
    // The user picked another volume.
    void driveChanged();

private:
    bool m_quiet = false;
};

} // namespace tobx
