// SPDX-License-Identifier: MIT
// tobx-samplegen: writes synthetic sample files for the demo and the benchmark.
#include "RcSamples.h"
#include "Samples.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

using namespace tobx::samples;

namespace {

int fail(const QString& text)
{
    QTextStream(stderr) << text << '\n';
    return 1;
}

// An archive of `count` entries of `entrySize` bytes, streamed to disk so that
// a large archive needs no more memory than one entry.
int writeBigArchive(const QString& path, int count, qint64 entrySize)
{
    QList<TobEntry> names;
    QByteArray directory;
    for (int i = 0; i < count; ++i) {
        directory += "big\\part" + QByteArray::number(i) + ".bin";
        directory += '\0';
        for (int n = 0; n < 4; ++n)
            directory += char((quint64(entrySize) >> (8 * n)) & 0xFF);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QByteArray header("VXBG");
    for (int n = 0; n < 4; ++n)
        header += char((quint32(directory.size()) >> (8 * n)) & 0xFF);
    file.write(header + directory);
    const QByteArray block = Filler(1 << 20, 7);
    for (int i = 0; i < count; ++i) {
        qint64 left = entrySize;
        while (left > 0) {
            const qint64 n = qMin<qint64>(left, block.size());
            if (file.write(block.constData(), n) != n)
                return fail(file.errorString());
            left -= n;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes synthetic sample files.\n"
        "  tob FILE       a Tobrava II archive of nested entries\n"
        "  tob-big FILE   a Tobrava II archive of --entries entries of --size bytes each\n"
        "  toj FILE       a Tobrava I picture of --size bytes\n"
        "  rc FILE.IDX    a Rollcage index of --entries entries and its image of --size bytes"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("kind"), QStringLiteral("tob, tob-big, toj or rc"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the file to write"));
    const QCommandLineOption entries(QStringLiteral("entries"), QStringLiteral("Number of entries."), QStringLiteral("n"), QStringLiteral("50"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Size in bytes (largest entry for tob)."), QStringLiteral("bytes"), QStringLiteral("4096"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("n"), QStringLiteral("1"));
    parser.addOptions({entries, size, seed});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        return fail(QStringLiteral("usage: tobx-samplegen KIND FILE [options]; see --help"));
    const QString kind = args.at(0);
    const QString path = args.at(1);
    const int count = parser.value(entries).toInt();
    const qint64 bytes = parser.value(size).toLongLong();
    const quint32 seedValue = parser.value(seed).toUInt();

    if (kind == QLatin1String("tob"))
        return WriteFile(path, MakeTobArchive(NestedEntries(count, int(bytes), seedValue))) ? 0 : fail(path);
    if (kind == QLatin1String("tob-big"))
        return writeBigArchive(path, count, bytes);
    if (kind == QLatin1String("toj"))
        return WriteFile(path, MakeToj(bytes, seedValue)) ? 0 : fail(path);
    if (kind == QLatin1String("rc")) {
        if (count < 0 || bytes < 0 || bytes > qint64(0xFFFFFFFFu))
            return fail(QStringLiteral("rc: --entries must not be negative and --size must lie within 0 to 4294967295"));
        return WriteRcPair(path, count, bytes, seedValue) ? 0 : fail(path);
    }
    return fail(QStringLiteral("unknown kind: ") + kind);
}
