// SPDX-License-Identifier: MIT
#pragma once
// Source type detection: what kind of file a pane's source is, from its first
// ten bytes, its extension and, for list files, the first field of its text.

#include "core/AppState.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace tobx {

// FType codes.
enum FType : quint8 {
    TypeUnknown = 0,
    TypeTobArchive = 1,
    TypeRcImage = 2,
    TypeRcIndex = 3,
    TypeTob1Picture = 4,
    TypeTob1Video = 5,
    TypeTobList = 11,
    TypeRcList = 12,
    TypeJpeg = 14,
    TypeBik = 15,
};

// Reads the file, may show its warnings, and returns the FType code.
quint8 QualifySrcFile(AppState& state, const QString& path, const QString& ext);

// The same decision on bytes in memory: `head` holds the file's first ten
// bytes (fewer for a file too small), and the first field of a list is asked
// for only when the extension is "lst".
using FirstFieldSource = std::function<std::optional<QByteArray>()>;
quint8 QualifySrcHead(AppState& state, QByteArrayView head, const QString& ext, const FirstFieldSource& firstField);

// "11 - Tobrava II LST"; empty for a code that is not used.
QString FTypeLegendEntry(quint8 type);
// The legend of all codes as the path dump shows it.
QString FTypeLegend();

} // namespace tobx
