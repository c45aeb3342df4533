// SPDX-License-Identifier: MIT
#include "OpenFromOutside.h"

#include "core/Clock.h"
#include "core/FileUtils.h"
#include "detect/QualifySrcFile.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace tobx {

namespace {

// Routing a file shows nothing: the warnings of detection belong to the Go
// button, which shows them when the file is run.
class QuietMessages final : public MessageBox {
public:
    MsgResult show(const Message& message) override { return message.defaultButton; }
};

} // namespace

int PaneForFile(const QString& path)
{
    QuietMessages quiet;
    SystemClock clock;
    AppState scratch(quiet, clock);
    const quint8 type = QualifySrcFile(scratch, path, GetFileExt(QFileInfo(path).fileName()));
    return type == TypeTobList || type == TypeRcList ? BuildPane : ExtractPane;
}

QStringList DroppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths.append(QFileInfo(url.toLocalFile()).absoluteFilePath());
    return paths;
}

} // namespace tobx
