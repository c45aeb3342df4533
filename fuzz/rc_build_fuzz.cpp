// SPDX-License-Identifier: MIT
// Rollcage list reading and index building on arbitrary list text. A build
// that ends well writes one 16-byte record per complete row, and nothing is
// ever written outside the destination folder.
#include "FuzzSupport.h"
#include "core/AppState.h"
#include "core/FileUtils.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcFormat.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace tobx;
using namespace tobx::fuzz;

namespace {

// Every file below the work folder, but the list itself, lies in out/.
void checkNothingOutside(const QDir& work, const QString& listPath)
{
    QDirIterator it(work.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path != listPath && !path.startsWith(work.filePath(QStringLiteral("out/"))))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir root;
    if (!root.isValid())
        return 0;
    const QByteArray text(reinterpret_cast<const char*>(data), qsizetype(size));
    QDir work(root.filePath(QStringLiteral("work")));
    work.removeRecursively();
    QDir().mkpath(work.filePath(QStringLiteral("lists")));
    QDir().mkpath(work.filePath(QStringLiteral("out/sub")));
    const QString listPath = work.filePath(QStringLiteral("lists/RC.lst"));
    QFile list(listPath);
    if (!list.open(QIODevice::WriteOnly) || list.write(text) != text.size())
        std::abort();
    list.close();

    AgreeingBox box;
    StillClock clock;
    AppState state(box, clock);
    SetDstFolder(state, BuildPane, work.filePath(QStringLiteral("out")));
    SelectSourceFile(state, BuildPane, listPath, QStringLiteral("RC.lst"));
    const Outcome outcome = BuildRcIndex(state);

    checkNothingOutside(work, listPath);
    if (outcome == Outcome::Done) {
        const qint64 expected = ParseRcList(text).rows.size() * RcRecordSize;
        if (QFileInfo(state.DstFile[BuildPane].FPath).size() != expected)
            std::abort();
    }
    return 0;
}
