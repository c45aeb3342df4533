// SPDX-License-Identifier: MIT
#include "DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QStorageInfo>
#include <QUrl>

#include <algorithm>

namespace tobx {

namespace {

bool liesUnder(const QString& folder, const QString& root)
{
    if (root == QLatin1String("/"))
        return folder.startsWith(QLatin1Char('/'));
    if (folder.compare(root, Qt::CaseSensitive) == 0)
        return true;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.startsWith(prefix);
}

} // namespace

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completing a typed path with the names of the volumes only gets in the way.
    setCompleter(nullptr);
    // A path dropped here goes to the pane, as anywhere else on it.
    lineEdit()->setAcceptDrops(false);
    reload();
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            Q_EMIT driveChanged();
    });
    connect(lineEdit(), &QLineEdit::returnPressed, this, [this] { Q_EMIT folderTyped(typedFolder()); });
}

void DriveList::reload()
{
    struct Volume {
        QString root;
        QString label;
    };
    QList<Volume> volumes;
    const auto add = [&](const QString& root, const QString& label) {
        for (const Volume& v : volumes)
            if (v.root == root)
                return;
        volumes.append({root, label});
    };
    add(QDir::rootPath(), QString());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers mount single files (hosts, resolv.conf); only folders
        // can be a destination.
        if (!volume.isValid() || !volume.isReady() || !QFileInfo(volume.rootPath()).isDir())
            continue;
        add(QDir::cleanPath(volume.rootPath()), volume.name());
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.root < b.root; });

    const QString shown = currentRoot();
    m_quiet = true;
    clear();
    for (const Volume& v : volumes)
        addItem(v.label.isEmpty() ? v.root : v.root + QStringLiteral(" [") + v.label + QLatin1Char(']'), v.root);
    const int again = findData(shown);
    setCurrentIndex(again >= 0 ? again : 0);
    m_quiet = false;
}

QString DriveList::currentRoot() const
{
    return currentData().toString();
}

QString DriveList::volumeOf(const QString& folder) const
{
    QString best;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        if (liesUnder(folder, root) && root.size() > best.size())
            best = root;
    }
    return best;
}

void DriveList::showVolumeOf(const QString& folder)
{
    const int index = findData(volumeOf(folder));
    if (index < 0 || index == currentIndex())
        return;
    m_quiet = true;
    setCurrentIndex(index);
    m_quiet = false;
}

void DriveList::showFolder(const QString& folder)
{
    showVolumeOf(folder);
    setEditText(QDir::toNativeSeparators(folder));
}

QString DriveList::typedFolder() const
{
    QString typed = lineEdit()->text().trimmed();
    if (typed.startsWith(QLatin1String("file:")))
        typed = QUrl(typed).toLocalFile();
    else if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = QDir::homePath() + typed.mid(1);
    return QDir::fromNativeSeparators(typed);
}

} // namespace tobx
