// SPDX-License-Identifier: MIT
// The archive layout on its own: walking a directory, proving it against the
// file size, and writing records and the header.

#include "Samples.h"
#include "core/StringConcat.h"
#include "tob/TobArchive.h"

#include <QTest>

using namespace tobx;
using tobx::samples::TobEntry;

namespace {

const QByteArray kWorkedExample = QByteArray::fromHex("565842470C000000615C622E74787400030000" "0078797A");

struct Walked {
    QList<QByteArray> names;
    QList<quint32> sizes;
    QList<qint64> offsets;
};

Walked walk(const QByteArray& archive)
{
    const quint32 directorySize = TobDirectorySize(archive);
    TobDirectoryWalker walker(QByteArrayView(archive).sliced(kTobHeaderSize, directorySize));
    Walked walked;
    qint64 offset = kTobHeaderSize + directorySize;
    TobDirEntry entry;
    while (walker.next(entry)) {
        walked.names.append(entry.name.toByteArray());
        walked.sizes.append(entry.size);
        walked.offsets.append(offset);
        offset += entry.size;
    }
    return walked;
}

} // namespace

class TobArchiveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExampleReads()
    {
        QCOMPARE(kWorkedExample.size(), 23);
        QCOMPARE(TobDirectorySize(kWorkedExample), 12u);
        QVERIFY(FindTobHeaderDamage(kWorkedExample.size(), 12).isEmpty());
        QVERIFY(FindTobDirectoryDamage(QByteArrayView(kWorkedExample).sliced(8, 12), kWorkedExample.size()).isEmpty());
        const Walked walked = walk(kWorkedExample);
        QCOMPARE(walked.names, QList<QByteArray>{"a\\b.txt"});
        QCOMPARE(walked.sizes, QList<quint32>{3});
        QCOMPARE(walked.offsets, QList<qint64>{20});
        QCOMPARE(kWorkedExample.mid(walked.offsets.first(), 3), QByteArray("xyz"));
    }

    void workedExampleWrites()
    {
        StringConcat directory;
        directory.lngAllocSize = 5600;
        AppendTobDirEntry(directory, "a\\b.txt", 3);
        QCOMPARE(directory.lngUsed, 12);
        const QByteArray archive = TobHeader("VXBG", quint32(directory.lngUsed)) + directory.GetStr() + "xyz";
        QCOMPARE(archive, kWorkedExample);
    }

    // Sound archives at the edges of the layout: the walk yields every record
    // and the contents start where the sizes before them say.
    void soundLayouts_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QList<QByteArray>>("names");
        QTest::addColumn<QList<qint64>>("offsets");

        QTest::newRow("no entries") << QByteArray::fromHex("5658424700000000") << QList<QByteArray>{} << QList<qint64>{};
        // Both contents start at 8 + D = 8 + 12.
        QTest::newRow("empty entry, then five bytes")
            << samples::MakeTobArchive({{"e", ""}, {"f", "12345"}}) << QList<QByteArray>{"e", "f"} << QList<qint64>{20, 20};
        QTest::newRow("entry with an empty name")
            << samples::MakeTobArchive({{"", "x"}, {"y", "z"}}) << QList<QByteArray>{"", "y"} << QList<qint64>{19, 20};
        // A reader never looks past the last content, so bytes there do no harm.
        QTest::newRow("bytes after the data area")
            << samples::MakeTobArchive({{"a", "1"}}) + "tail" << QList<QByteArray>{"a"} << QList<qint64>{14};
        QTest::newRow("bytes 0xFF in a name")
            << samples::MakeTobArchive({{"\xFF\xE9\\x", "1"}}) << QList<QByteArray>{"\xFF\xE9\\x"} << QList<qint64>{17};
    }

    void soundLayouts()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QList<QByteArray>, names);
        QFETCH(QList<qint64>, offsets);
        const quint32 directorySize = TobDirectorySize(archive);
        QVERIFY(FindTobHeaderDamage(archive.size(), directorySize).isEmpty());
        QCOMPARE(FindTobDirectoryDamage(QByteArrayView(archive).sliced(8, directorySize), archive.size()), QString());
        const Walked walked = walk(archive);
        QCOMPARE(walked.names, names);
        QCOMPARE(walked.offsets, offsets);
    }

    // Each record is n + 5 bytes, whatever the name and size.
    void recordsRoundTrip()
    {
        const QList<TobEntry> entries = samples::NestedEntries(200, 300, 11);
        StringConcat directory;
        directory.lngAllocSize = 5600;
        for (const TobEntry& e : entries)
            AppendTobDirEntry(directory, e.name, quint32(e.content.size()));
        QByteArray archive = TobHeader("VXBG", quint32(directory.lngUsed)) + directory.GetStr();
        for (const TobEntry& e : entries)
            archive += e.content;
        QCOMPARE(archive, samples::MakeTobArchive(entries));
    }
};

QTEST_APPLESS_MAIN(TobArchiveTest)
#include "tst_tob_archive.moc"
