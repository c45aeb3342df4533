// SPDX-License-Identifier: MIT
#include "QualifySrcFile.h"

#include "core/FileUtils.h"
#include "core/ListFile.h"

#include <QFile>

#include <array>
#include <utility>

namespace tobx {

namespace {

constexpr std::array<std::pair<quint8, const char*>, 10> kLegend{{
    {0, "Unknown - not recognized"},
    {1, "TOBrava II archive"},
    {2, "Rollcage archive IMaGe"},
    {3, "Rollcage InDeX"},
    {4, "TObrava I Jpg"},
    {5, "TObrava I Bik"},
    {11, "Tobrava II LST"},
    {12, "Rollcage LST"},
    {14, "JPG"},
    {15, "BIK"},
}};

// Detection looks at no more of a file than this.
constexpr qsizetype kHeadSize = 10;

void warn(AppState& state, const char* text)
{
    state.show(QString::fromLatin1(text));
}

} // namespace

quint8 QualifySrcFile(AppState& state, const QString& path, const QString& ext)
{
    if (GetFileSize(path) < kHeadSize)
        return QualifySrcHead(state, QByteArrayView(), ext, {});
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return TypeUnknown;
    const QByteArray head = file.read(kHeadSize);
    file.close();
    if (head.size() != kHeadSize)
        return TypeUnknown;
    return QualifySrcHead(state, head, ext, [&path] { return ReadFirstListField(path); });
}

quint8 QualifySrcHead(AppState& state, QByteArrayView head, const QString& ext, const FirstFieldSource& firstField)
{
    if (head.size() < kHeadSize) {
        state.show(QStringLiteral("File not found or file is empty or wrong file size."),
                   QStringLiteral("ERROR"), MsgIcon::Critical);
        return TypeUnknown;
    }
    head = head.first(kHeadSize);
    if (head.startsWith(state.SrcSig[0])) {
        if (ext != QLatin1String("tob"))
            warn(state, "Extension doesn't match - file qualified as tob archive");
        return TypeTobArchive;
    }
    if (head.startsWith(state.SrcSig[1])) {
        if (ext == QLatin1String("tob"))
            return TypeTob1Video;
        if (ext == QLatin1String("bik"))
            return TypeBik;
        warn(state, "Extension doesn't match - qualified as TObrava I Bik");
        return TypeTob1Video;
    }
    if (head == state.SrcSig[2]) {
        if (ext != QLatin1String("jpg"))
            warn(state, "Extension doesn't match - file qualified as jpg");
        return TypeJpeg;
    }
    if (ext == QLatin1String("toj")) {
        if (!head.startsWith(state.SrcSig[3]))
            warn(state, "Doesn't seem to be .toj - anyway qualified as toj");
        return TypeTob1Picture;
    }
    if (ext == QLatin1String("idx")) {
        if (!head.startsWith(state.SrcSig[4]))
            warn(state, "Doesn't start form 0000 but maybe this is correct Rollcage idx");
        return TypeRcIndex;
    }
    if (ext == QLatin1String("img"))
        return head.startsWith(state.SrcSig[5]) ? TypeRcImage : TypeUnknown;
    if (ext == QLatin1String("lst")) {
        const std::optional<QByteArray> field = firstField();
        if (!field)
            return TypeUnknown;
        const QByteArray ending = field->right(4).toLower();
        if (ending == ".tob")
            return TypeTobList;
        if (ending == ".idx")
            return TypeRcList;
        warn(state, "This is not valid lst file - try to correct first line manually");
        return TypeUnknown;
    }
    return TypeUnknown;
}

QString FTypeLegendEntry(quint8 type)
{
    for (const auto& [code, text] : kLegend)
        if (code == type)
            return QString::number(code) + QStringLiteral(" - ") + QString::fromLatin1(text);
    return QString();
}

QString FTypeLegend()
{
    QString legend = QStringLiteral("FType:");
    for (qsizetype i = 0; i < qsizetype(kLegend.size()); ++i) {
        legend += QStringLiteral("  ") + FTypeLegendEntry(kLegend[i].first);
        if (i + 1 < qsizetype(kLegend.size()))
            legend += QLatin1Char(';');
    }
    return legend;
}

} // namespace tobx
