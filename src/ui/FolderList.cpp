// SPDX-License-Identifier: MIT
#include "FolderList.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tobx {

namespace {

constexpr int kIndent = 8;

// Indents every entry by its level below the root.
class IndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(kIndent * index.data(FolderList::LevelRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += kIndent * index.data(FolderList::LevelRole).toInt();
        return size;
    }
};

// The folder and every folder above it, the root first.
QStringList ancestorsOf(const QString& folder)
{
    QStringList chain;
    QDir dir(folder);
    chain.prepend(dir.absolutePath());
    while (dir.cdUp())
        chain.prepend(dir.absolutePath());
    return chain;
}

QString entryName(const QString& path)
{
    const QString name = QDir(path).dirName();
    return name.isEmpty() ? path : name;
}

} // namespace

FolderList::FolderList(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setIconSize(QSize(14, 14));
}

bool FolderList::setCurrentFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isExecutable())
        return false;
    m_folder = QDir::cleanPath(info.absoluteFilePath());
    rebuild(m_folder);
    Q_EMIT folderChanged(m_folder);
    return true;
}

void FolderList::refresh()
{
    if (m_folder.isEmpty())
        return;
    rebuild(highlightedFolder());
}

QString FolderList::highlightedFolder() const
{
    const QListWidgetItem* item = currentItem();
    return item ? item->data(PathRole).toString() : QString();
}

void FolderList::openHighlighted()
{
    const QString folder = highlightedFolder();
    if (folder.isEmpty())
        return;
    // A folder removed meanwhile cannot be opened; show what is there now.
    if (!setCurrentFolder(folder))
        refresh();
}

void FolderList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openHighlighted();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListWidgetItem* item = itemAt(event->position().toPoint());
    if (!item || event->button() != Qt::LeftButton) {
        QListWidget::mouseDoubleClickEvent(event);
        return;
    }
    setCurrentItem(item);
    openHighlighted();
    event->accept();
}

void FolderList::rebuild(const QString& highlight)
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    const QStringList chain = ancestorsOf(m_folder);
    const auto add = [&](const QString& path, int level, const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, entryName(path), this);
        item->setData(PathRole, path);
        item->setData(LevelRole, level);
        item->setToolTip(path);
        if (path == highlight)
            setCurrentItem(item);
    };
    for (int level = 0; level < chain.size(); ++level)
        add(chain.at(level), level, open);
    const QDir dir(m_folder);
    // Hidden folders too: games live in ~/.wine and the like.
    const QStringList subfolders =
        dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders)
        add(dir.filePath(name), int(chain.size()), closed);
    if (!currentItem())
        setCurrentRow(int(chain.size()) - 1);
    scrollToItem(currentItem());
}

} // namespace tobx
