// SPDX-License-Identifier: MIT
#include "WindowMemory.h"

#include <QFileInfo>
#include <QSettings>

namespace tobx {

namespace {

QString destinationKey(int pane)
{
    return QStringLiteral("Panes/Destination%1").arg(pane);
}

QString dialogKey(FileDialogKind dialog)
{
    switch (dialog) {
    case FileDialogKind::ExtractSource:
        return QStringLiteral("FileDialogs/ExtractSource");
    case FileDialogKind::BuildSource:
        return QStringLiteral("FileDialogs/BuildSource");
    case FileDialogKind::Converter:
        break;
    }
    return QStringLiteral("FileDialogs/Converter");
}

const QString kPositionKey = QStringLiteral("Window/Position");
const QString kSizeKey = QStringLiteral("Window/Size");

} // namespace

WindowMemory::WindowMemory(QSettings& settings)
    : m_settings(settings)
{
}

QString WindowMemory::existingFolder(const QString& key) const
{
    const QString folder = m_settings.value(key).toString();
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isAbsolute() || !info.isDir())
        return QString();
    return folder;
}

QString WindowMemory::destination(int pane) const
{
    return existingFolder(destinationKey(pane));
}

void WindowMemory::setDestination(int pane, const QString& folder)
{
    m_settings.setValue(destinationKey(pane), folder);
}

QString WindowMemory::dialogFolder(FileDialogKind dialog) const
{
    return existingFolder(dialogKey(dialog));
}

void WindowMemory::setDialogFolder(FileDialogKind dialog, const QString& folder)
{
    m_settings.setValue(dialogKey(dialog), folder);
}

std::optional<WindowMemory::Place> WindowMemory::windowPlace() const
{
    const QVariant position = m_settings.value(kPositionKey);
    const QVariant size = m_settings.value(kSizeKey);
    if (!position.canConvert<QPoint>() || !size.canConvert<QSize>() || !size.toSize().isValid())
        return std::nullopt;
    return Place{position.toPoint(), size.toSize()};
}

void WindowMemory::setWindowPlace(const Place& place)
{
    m_settings.setValue(kPositionKey, place.position);
    m_settings.setValue(kSizeKey, place.size);
}

void WindowMemory::sync()
{
    m_settings.sync();
}

} // namespace tobx
