// SPDX-License-Identifier: MIT
// The synthetic Rollcage pairs that the other tests, the demo and the
// benchmark stand on.
#include "TestSupport.h"

#include "RcSamples.h"
#include "rollcage/RcFormat.h"

#include <QTest>

#include <algorithm>

using namespace tobx;
using namespace tobx::samples;
using tobx::test::Harness;

class TestRcSamples : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void recordsPointAtDistinctSlices_data();
    void recordsPointAtDistinctSlices();
    void sameSeedSameBytes();
    void streamedImageEqualsImageInMemory();
    void pairOnDisk();
};

void TestRcSamples::recordsPointAtDistinctSlices_data()
{
    QTest::addColumn<int>("entries");
    QTest::addColumn<qint64>("imageSize");
    QTest::newRow("290") << 290 << qint64(64 * 1024);
    QTest::newRow("135") << 135 << qint64(20000);
    QTest::newRow("image smaller than entries") << 50 << qint64(30);
    QTest::newRow("image of the magic only") << 6 << qint64(4);
}

void TestRcSamples::recordsPointAtDistinctSlices()
{
    QFETCH(int, entries);
    QFETCH(qint64, imageSize);
    const QList<RcSampleRecord> records = RcSampleRecords(entries, imageSize, 77);
    QCOMPARE(records.size(), qsizetype(entries));
    const QByteArray index = MakeRcIndex(records);
    QCOMPARE(index.size(), qsizetype(entries) * 16);

    QList<std::pair<qint64, qint64>> slices;
    int empty = 0;
    for (int k = 0; k < entries; ++k) {
        const RcRecord read = ReadRcRecord(index, 16 * k);
        QCOMPARE(read.offset, records[k].offset);
        QCOMPARE(read.length, records[k].length);
        QCOMPARE(read.word3, records[k].word3);
        QCOMPARE(read.word4, records[k].word4);
        QVERIFY(qint64(read.offset) + read.length <= imageSize);
        if (read.length == 0)
            ++empty;
        else
            slices.append({read.offset, read.offset + read.length});
    }
    QVERIFY(empty >= entries / 6);
    std::sort(slices.begin(), slices.end());
    for (qsizetype i = 1; i < slices.size(); ++i)
        QVERIFY(slices[i].first >= slices[i - 1].second);
    // As in the game's files: the index begins with four zero bytes and the
    // first entry with the image's magic.
    QVERIFY(index.startsWith(QByteArray(4, '\0')));
    if (records[0].length >= 4)
        QVERIFY(MakeRcImage(imageSize, 77).mid(0, records[0].length).startsWith("GT20"));
    if (imageSize > 4 * entries) { // room enough: every sixth entry only is empty, and not in image order
        QCOMPARE(empty, (entries + 1) / 6);
        QVERIFY(!std::is_sorted(records.begin(), records.end(),
                                [](const RcSampleRecord& a, const RcSampleRecord& b) { return a.offset < b.offset; }));
    }
}

void TestRcSamples::sameSeedSameBytes()
{
    QCOMPARE(MakeRcIndex(RcSampleRecords(290, 5000, 9)), MakeRcIndex(RcSampleRecords(290, 5000, 9)));
    QVERIFY(MakeRcIndex(RcSampleRecords(290, 5000, 9)) != MakeRcIndex(RcSampleRecords(290, 5000, 10)));
    const QByteArray image = MakeRcImage(5000, 9);
    QCOMPARE(image.size(), 5000);
    QVERIFY(image.startsWith("GT20"));
    QCOMPARE(image, MakeRcImage(5000, 9));
    QVERIFY(image != MakeRcImage(5000, 10));
    QCOMPARE(MakeRcImage(2, 9), QByteArray("GT"));
}

// Written in pieces of 1 MiB: the pieces join without a seam.
void TestRcSamples::streamedImageEqualsImageInMemory()
{
    Harness h;
    const qint64 size = 3 * 1024 * 1024 + 5;
    QVERIFY(WriteRcImage(h.path(QStringLiteral("big.img")), size, 21));
    QCOMPARE(h.read(QStringLiteral("big.img")), MakeRcImage(size, 21));
}

void TestRcSamples::pairOnDisk()
{
    Harness h;
    QVERIFY(WriteRcPair(h.path(QStringLiteral("a/RC.IDX")), 135, 10000, 4));
    QCOMPARE(h.read(QStringLiteral("a/RC.IDX")), MakeRcIndex(RcSampleRecords(135, 10000, 4)));
    QCOMPARE(h.read(QStringLiteral("a/RC.img")), MakeRcImage(10000, 4));
    QCOMPARE(RcImagePath(h.path(QStringLiteral("a/RC.IDX"))), h.path(QStringLiteral("a/RC.img")));
}

QTEST_GUILESS_MAIN(TestRcSamples)
#include "tst_rc_samples.moc"
