// SPDX-License-Identifier: MIT
// The copy primitive: ranges of open files into new or replaced files, through
// the kernel's copy or the buffer, and what happens when a source ends early.
#include "TestSupport.h"
#include "core/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

Q_DECLARE_METATYPE(tobx::FileCopier::Method)

namespace {

constexpr qint64 kBuffer = FileCopier::kBufferSize;
constexpr qint64 kFourGiB = qint64(4) << 30;

// Bytes that differ from one position to the next and do not repeat within a
// buffer, so that a piece copied from the wrong offset shows.
QByteArray pattern(qint64 size, int seed = 0)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(((i + seed) * 7 + (i + seed) / 251) & 0xFF);
    return bytes;
}

// The bytes of a file's range, read plainly for comparison.
QByteArray rangeOf(const QString& path, qint64 offset, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return QByteArray("(unreadable)");
    return file.read(size);
}

void addMethodRows(const char* name, qint64 sourceSize, qint64 offset, qint64 size)
{
    QTest::addRow("%s, kernel", name) << FileCopier::Method::Kernel << sourceSize << offset << size;
    QTest::addRow("%s, buffer forced", name) << FileCopier::Method::Buffer << sourceSize << offset << size;
}

} // namespace

class CoreCopyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copiesRange_data();
    void copiesRange();
    void rangesOfOneSource_data();
    void rangesOfOneSource();
    void nextCopierStartsEmpty();
    void sourceEndingEarlyIsAFailure_data();
    void sourceEndingEarlyIsAFailure();
    void gatheredCopiesKeepTheirOrder_data();
    void gatheredCopiesKeepTheirOrder();
    void gatheredBytesLostMakeFinishFail();
    void createNewRefusesTakenNames_data();
    void createNewRefusesTakenNames();
    void replacingKeepsOldFileUntilFinished();
    void discardRemovesCreatedFile();
    void inputRefusesLinkWhenAsked();
};

void CoreCopyTest::copiesRange_data()
{
    QTest::addColumn<FileCopier::Method>("method");
    QTest::addColumn<qint64>("sourceSize");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("size");
    addMethodRows("empty", 100, 0, 0);
    addMethodRows("one byte", 100, 99, 1);
    addMethodRows("buffer - 1", kBuffer + 10, 3, kBuffer - 1);
    addMethodRows("buffer", kBuffer + 10, 5, kBuffer);
    addMethodRows("buffer + 1", kBuffer + 10, 9, kBuffer + 1);
    addMethodRows("three buffers and a bit, whole file", 3 * kBuffer + 17, 0, 3 * kBuffer + 17);
    // A hole, then data, then a hole, all beyond 4 GiB: offsets need 64 bits
    // and holes read as zeros. A sparse file costs no room on the disk.
    addMethodRows("large sparse file, past 4 GiB", -1, kFourGiB - kBuffer / 2, 2 * kBuffer + 1);
}

void CoreCopyTest::copiesRange()
{
    QFETCH(FileCopier::Method, method);
    QFETCH(qint64, sourceSize);
    QFETCH(qint64, offset);
    QFETCH(qint64, size);
    Harness h;
    QString sourcePath;
    if (sourceSize >= 0) {
        sourcePath = h.write("source.bin", pattern(sourceSize));
    } else {
        sourcePath = h.path("sparse.bin");
        QFile sparse(sourcePath);
        QVERIFY(sparse.open(QIODevice::WriteOnly));
        QVERIFY(sparse.resize(kFourGiB + 4 * kBuffer));
        QVERIFY(sparse.seek(kFourGiB));
        QCOMPARE(sparse.write(pattern(kBuffer, 3)), kBuffer);
    }
    const QByteArray expected = rangeOf(sourcePath, offset, size);
    QCOMPARE(expected.size(), size);

    QString reason;
    InputFile from;
    QVERIFY2(from.open(sourcePath, InputFile::Links::Follow, &reason), qPrintable(reason));
    QVERIFY(from.isRegular());
    QCOMPARE(from.size(), QFileInfo(sourcePath).size());
    OutputFile to;
    QCOMPARE(to.createNew(h.path("copy.bin"), &reason), OutputFile::Created::Yes);
    FileCopier copier(method);
    QCOMPARE(copier.copy(from, offset, size, to, &reason), FileCopier::Status::Done);
    QVERIFY2(to.finish(&reason), qPrintable(reason));
    QVERIFY(h.read("copy.bin") == expected);
}

void CoreCopyTest::rangesOfOneSource_data()
{
    // Ranges of one file copied one after another by the same copier, small
    // ones served by its buffer and large ones by the kernel; every fourth
    // range is read into memory instead, as an archive's directory is.
    QTest::addColumn<QList<qint64>>("offsets");
    QTest::addColumn<QList<qint64>>("sizes");
    QTest::newRow("small, in order") << QList<qint64>{0, 10, 4000} << QList<qint64>{10, 3990, 96};
    QTest::newRow("small, backwards") << QList<qint64>{3000, 5} << QList<qint64>{1000, 7};
    QTest::newRow("large then small then large") << QList<qint64>{1, 3, 4097} << QList<qint64>{(3 << 20) - 1, 1, 2 << 20};
    QTest::newRow("empty pieces") << QList<qint64>{0, 4096, (4 << 20)} << QList<qint64>{0, 0, 0};
    QTest::newRow("small ones across the buffer's end")
        << QList<qint64>{8, kBuffer - 100, kBuffer - 1, kBuffer + 5000, 7}
        << QList<qint64>{kBuffer - 200, 99, 70000, 3, 1};
}

void CoreCopyTest::rangesOfOneSource()
{
    QFETCH(QList<qint64>, offsets);
    QFETCH(QList<qint64>, sizes);
    Harness h;
    const QByteArray bytes = pattern(4 << 20);
    const QString sourcePath = h.write("data.bin", bytes);
    QString reason;
    InputFile from;
    QVERIFY(from.open(sourcePath, InputFile::Links::Follow, &reason));
    FileCopier copier;
    for (qsizetype i = 0; i < offsets.size(); ++i) {
        if (i % 4 == 3) {
            QByteArray read(sizes[i], Qt::Uninitialized);
            QCOMPARE(copier.read(from, offsets[i], sizes[i], read.data(), &reason), FileCopier::Status::Done);
            QVERIFY(read == bytes.mid(offsets[i], sizes[i]));
            continue;
        }
        const QString name = QStringLiteral("piece%1").arg(i);
        OutputFile to;
        QCOMPARE(to.createNew(h.path(name), &reason), OutputFile::Created::Yes);
        QCOMPARE(copier.copy(from, offsets[i], sizes[i], to, &reason), FileCopier::Status::Done);
        QVERIFY(to.finish(&reason));
        QVERIFY2(h.read(name) == bytes.mid(offsets[i], sizes[i]), qPrintable(name));
    }
}

// The second copier of a thread reuses the first one's buffer; what the first
// held must not stand in for the bytes of a file it never read, even one at
// the same path and offsets, as when a run follows one on a rewritten archive.
void CoreCopyTest::nextCopierStartsEmpty()
{
    Harness h;
    const QString sourcePath = h.write("data.bin", pattern(8192, 1));
    QString reason;
    for (int round = 0; round < 2; ++round) {
        const QByteArray bytes = pattern(8192, round);
        QFile::remove(sourcePath);
        h.write("data.bin", bytes);
        InputFile from;
        QVERIFY(from.open(sourcePath, InputFile::Links::Follow, &reason));
        FileCopier copier(FileCopier::Method::Buffer);
        QByteArray read(100, Qt::Uninitialized);
        QCOMPARE(copier.read(from, 50, 100, read.data(), &reason), FileCopier::Status::Done);
        QVERIFY2(read == bytes.mid(50, 100), qPrintable(QStringLiteral("round %1").arg(round)));
        const QString name = QStringLiteral("copy%1").arg(round);
        OutputFile to;
        QCOMPARE(to.createNew(h.path(name), &reason), OutputFile::Created::Yes);
        QCOMPARE(copier.copy(from, 0, 8192, to, &reason), FileCopier::Status::Done);
        QVERIFY(to.finish(&reason));
        QVERIFY2(h.read(name) == bytes, qPrintable(name));
    }
}

void CoreCopyTest::sourceEndingEarlyIsAFailure_data()
{
    QTest::addColumn<FileCopier::Method>("method");
    QTest::addColumn<qint64>("sourceSize");
    QTest::addColumn<qint64>("offset");
    QTest::addColumn<qint64>("size");
    // The file was this long when it was opened and is cut to half before
    // the copy.
    addMethodRows("small range", 8192, 4000, 1000);
    addMethodRows("large range", 3 * kBuffer, kBuffer, 2 * kBuffer);
    addMethodRows("range that starts past the new end", 3 * kBuffer, 2 * kBuffer, kBuffer);
}

void CoreCopyTest::sourceEndingEarlyIsAFailure()
{
    QFETCH(FileCopier::Method, method);
    QFETCH(qint64, sourceSize);
    QFETCH(qint64, offset);
    QFETCH(qint64, size);
    Harness h;
    const QString sourcePath = h.write("source.bin", pattern(sourceSize));
    QString reason;
    InputFile from;
    QVERIFY(from.open(sourcePath, InputFile::Links::Follow, &reason));
    QVERIFY(QFile::resize(sourcePath, sourceSize / 2));
    OutputFile to;
    QCOMPARE(to.createNew(h.path("copy.bin"), &reason), OutputFile::Created::Yes);
    FileCopier copier(method);
    QCOMPARE(copier.copy(from, offset, size, to, &reason), FileCopier::Status::SourceEnded);
    QVERIFY2(reason.contains(QStringLiteral("ended")), qPrintable(reason));
    to.discard();
    QVERIFY(!h.exists("copy.bin"));

    // The same copier goes on with what is still there.
    QCOMPARE(to.createNew(h.path("copy.bin"), &reason), OutputFile::Created::Yes);
    QCOMPARE(copier.copy(from, 0, sourceSize / 2, to, &reason), FileCopier::Status::Done);
    QVERIFY(to.finish(&reason));
    QVERIFY(h.read("copy.bin") == pattern(sourceSize / 2));
}

void CoreCopyTest::gatheredCopiesKeepTheirOrder_data()
{
    QTest::addColumn<FileCopier::Method>("method");
    QTest::newRow("kernel") << FileCopier::Method::Kernel;
    QTest::newRow("buffer forced") << FileCopier::Method::Buffer;
}

// Small whole files gathered into an archive-like file, mixed with direct
// writes and large copies, and more than a buffer of them in a row.
void CoreCopyTest::gatheredCopiesKeepTheirOrder()
{
    QFETCH(FileCopier::Method, method);
    Harness h;
    const QList<qint64> sizes{1, 5000, 0, 3 * kBuffer, 60000, 60000, 60000, 60000, 60000, 60000,
                              60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000, 60000,
                              60000, 7, kBuffer + 3, 2};
    QString reason;
    OutputFile to;
    QVERIFY(to.openReplacing(h.path("archive.bin"), &reason));
    to.gatherSmallCopies();
    FileCopier copier(method);
    QByteArray expected;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        const QByteArray bytes = pattern(sizes[i], int(i));
        InputFile from;
        QVERIFY(from.open(h.write(QStringLiteral("src%1").arg(i), bytes), InputFile::Links::Follow, &reason));
        QCOMPARE(copier.copy(from, 0, from.size(), to, &reason), FileCopier::Status::Done);
        expected += bytes;
        if (i % 5 == 4) {
            QVERIFY(to.write("|", &reason));
            expected += '|';
        }
    }
    QVERIFY2(to.finish(&reason), qPrintable(reason));
    QVERIFY(h.read("archive.bin") == expected);
}

void CoreCopyTest::gatheredBytesLostMakeFinishFail()
{
    Harness h;
    QString reason;
    InputFile from;
    QVERIFY(from.open(h.write("small", "abc"), InputFile::Links::Follow, &reason));
    OutputFile to;
    QCOMPARE(to.createNew(h.path("out.bin"), &reason), OutputFile::Created::Yes);
    to.gatherSmallCopies();
    {
        FileCopier copier;
        QCOMPARE(copier.copy(from, 0, 3, to, &reason), FileCopier::Status::Done);
    }
    QVERIFY(!to.finish(&reason));
    QVERIFY(!h.exists("out.bin"));
}

void CoreCopyTest::createNewRefusesTakenNames_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("file") << QStringLiteral("file");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("link to a file") << QStringLiteral("link");
    QTest::newRow("dangling link") << QStringLiteral("dangling");
}

void CoreCopyTest::createNewRefusesTakenNames()
{
    QFETCH(QString, what);
    Harness h;
    const QString target = h.path("target");
    const QString other = h.write("other.bin", "keep");
    if (what == QLatin1String("file"))
        h.write("target", "keep");
    else if (what == QLatin1String("folder"))
        h.write("target/inside", "keep");
    else if (what == QLatin1String("link"))
        QVERIFY(QFile::link(other, target));
    else
        QVERIFY(QFile::link(h.path("nowhere"), target));
    QString reason;
    OutputFile to;
    QCOMPARE(to.createNew(target, &reason), OutputFile::Created::Exists);
    QVERIFY(!reason.isEmpty());
    QVERIFY(!to.isOpen());
    // Replacing works on a plain file only: never through a link, never a folder.
    QCOMPARE(to.openReplacing(target, &reason), what == QLatin1String("file"));
    to.discard();
    QCOMPARE(h.read("other.bin"), QByteArray("keep"));
    if (what == QLatin1String("file"))
        QCOMPARE(h.read("target"), QByteArray("keep"));
    QVERIFY(!h.exists("nowhere"));
    QVERIFY(QFileInfo(target).exists() || QFileInfo(target).isSymLink());

    QCOMPARE(to.createNew(h.path("no/such/folder/f"), &reason), OutputFile::Created::Failed);
    QVERIFY(!h.exists("no"));
}

void CoreCopyTest::replacingKeepsOldFileUntilFinished()
{
    Harness h;
    const QString target = h.write("f.bin", pattern(5000, 1));
    const QString sourcePath = h.write("new.bin", pattern(3 * kBuffer));
    QString reason;
    InputFile from;
    QVERIFY(from.open(sourcePath, InputFile::Links::Follow, &reason));
    FileCopier copier;
    {
        OutputFile to;
        QVERIFY(to.openReplacing(target, &reason));
        QVERIFY(to.write("head", &reason));
        QCOMPARE(copier.copy(from, 0, 3 * kBuffer, to, &reason), FileCopier::Status::Done);
        QVERIFY(h.read("f.bin") == pattern(5000, 1));
        to.discard();
    }
    QVERIFY(h.read("f.bin") == pattern(5000, 1));
    OutputFile to;
    QVERIFY(to.openReplacing(target, &reason));
    QVERIFY(to.write("head", &reason));
    QCOMPARE(copier.copy(from, 7, 2 * kBuffer, to, &reason), FileCopier::Status::Done);
    QVERIFY(to.write("tail", &reason));
    QVERIFY2(to.finish(&reason), qPrintable(reason));
    QVERIFY(h.read("f.bin") == "head" + pattern(3 * kBuffer).mid(7, 2 * kBuffer) + "tail");
    QCOMPARE(QDir(h.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary file left
}

void CoreCopyTest::discardRemovesCreatedFile()
{
    Harness h;
    QString reason;
    {
        OutputFile to;
        QCOMPARE(to.createNew(h.path("partial.bin"), &reason), OutputFile::Created::Yes);
        QVERIFY(to.write("part", &reason));
        // Going out of scope unfinished is a discard.
    }
    QVERIFY(!h.exists("partial.bin"));
}

void CoreCopyTest::inputRefusesLinkWhenAsked()
{
    Harness h;
    const QString real = h.write("real.bin", "abc");
    QVERIFY(QFile::link(real, h.path("link.bin")));
    QString reason;
    InputFile from;
    QVERIFY(!from.open(h.path("link.bin"), InputFile::Links::Refuse, &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(from.open(h.path("link.bin"), InputFile::Links::Follow, &reason));
    InputFile direct;
    QVERIFY(direct.open(real, InputFile::Links::Refuse, &reason));
    QVERIFY(from.id() == direct.id());
    QCOMPARE(direct.size(), 3);
    InputFile folder;
    QVERIFY(folder.open(h.dir.path(), InputFile::Links::Refuse, &reason));
    QVERIFY(!folder.isRegular());
}

QTEST_GUILESS_MAIN(CoreCopyTest)
#include "tst_core_copy.moc"
