// SPDX-License-Identifier: MIT
#pragma once
// What the desktop program keeps between its runs, in the user's settings:
// each pane's destination folder, the last folder of each file dialog, and
// the window's place on the screen. A remembered folder that is gone reads as
// nothing, so the caller falls back to its default without a word. The
// command line never reads or writes any of it.

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QSettings;

namespace tobx {

enum class FileDialogKind { ExtractSource, BuildSource, Converter };

class WindowMemory {
public:
    // settings: the user's (the program's organisation and name) or a scratch
    // file in tests; it must outlive this object.
    explicit WindowMemory(QSettings& settings);

    // An existing folder, or empty.
    QString destination(int pane) const;
    void setDestination(int pane, const QString& folder);

    QString dialogFolder(FileDialogKind dialog) const;
    void setDialogFolder(FileDialogKind dialog, const QString& folder);

    // The window's top-left corner (its frame's) and its size.
    struct Place {
        QPoint position;
        QSize size;
    };
    std::optional<Place> windowPlace() const;
    void setWindowPlace(const Place& place);

    void sync();

private:
    QString existingFolder(const QString& key) const;

    QSettings& m_settings;
};

} // namespace tobx
