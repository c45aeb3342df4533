// SPDX-License-Identifier: MIT
// File identity, links below a destination, and whole-file writes.
#include "TestSupport.h"
#include "core/FileSystem.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

class CoreFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameFile();
    void linkBelowDestination();
    void outputPathRefusal_data();
    void outputPathRefusal();
    void writeNewFile();
    void replaceKeepsNoOldBytes();
    void failedWriteLeavesNothing();
};

void CoreFilesTest::sameFile()
{
    Harness h;
    const QString a = h.write("a.lst", "x");
    h.write("sub/other", "y");
    QVERIFY(SameFile(a, a));
    QVERIFY(SameFile(a, h.path("sub/../a.lst")));
    QVERIFY(QFile::link(a, h.path("link.lst")));
    QVERIFY(SameFile(h.path("link.lst"), a));
    QVERIFY(!SameFile(a, h.write("b.lst", "x")));
    QVERIFY(!SameFile(a, h.path("missing")));
}

void CoreFilesTest::linkBelowDestination()
{
    Harness h;
    QTemporaryDir outside;
    h.write("dest/real/x.txt", "x");
    QVERIFY(QFile::link(outside.path(), h.path("dest/escape")));
    QVERIFY(!LinkOnPathBelow(h.path("dest"), QStringLiteral("real/x.txt")));
    QVERIFY(!LinkOnPathBelow(h.path("dest"), QStringLiteral("new/y.txt")));
    QVERIFY(LinkOnPathBelow(h.path("dest"), QStringLiteral("escape/y.txt")));
    QVERIFY(QFile::link(h.path("dest/real/x.txt"), h.path("dest/file-link")));
    QVERIFY(LinkOnPathBelow(h.path("dest"), QStringLiteral("file-link")));
}

// What the output check says for each place a link can stand.
void CoreFilesTest::outputPathRefusal_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("refusal"); // a part of the text; empty: allowed
    QTest::newRow("new file") << "new.bin" << QString();
    QTest::newRow("existing file") << "real/x.txt" << QString();
    QTest::newRow("new folders") << "new/deeper/y.txt" << QString();
    QTest::newRow("dangling link") << "dangling" << "A symbolic link has this name";
    QTest::newRow("link to a file") << "file-link" << "A symbolic link has this name";
    QTest::newRow("linked folder") << "escape/y.txt" << "The folder \"escape\" on the way is a symbolic link";
    QTest::newRow("linked folder one level down") << "real/escape/y.txt" << "The folder \"real/escape\" on the way";
    QTest::newRow("parent level") << "../y.txt" << "leads out of the chosen folder";
    QTest::newRow("absolute") << "/tmp/y.txt" << "leads out of the chosen folder";
    QTest::newRow("empty") << "" << "leads out of the chosen folder";
}

void CoreFilesTest::outputPathRefusal()
{
    QFETCH(QString, relative);
    QFETCH(QString, refusal);
    Harness h;
    QTemporaryDir outside;
    h.write("dest/real/x.txt", "x");
    QVERIFY(QFile::link(outside.path(), h.path("dest/escape")));
    QVERIFY(QFile::link(outside.path(), h.path("dest/real/escape")));
    QVERIFY(QFile::link(outside.filePath("gone"), h.path("dest/dangling")));
    QVERIFY(QFile::link(h.path("dest/real/x.txt"), h.path("dest/file-link")));
    const QString said = OutputPathRefusal(h.path("dest"), relative);
    if (refusal.isEmpty())
        QCOMPARE(said, QString());
    else
        QVERIFY2(said.contains(refusal), qPrintable(said));
    QVERIFY(OutputPathRefusal(QString(), QStringLiteral("a.txt")).contains(QStringLiteral("No folder")));
}

void CoreFilesTest::writeNewFile()
{
    Harness h;
    QString reason;
    QVERIFY(WriteWholeFile(h.path("new.bin"), QByteArray("abc"), &reason));
    QCOMPARE(h.read("new.bin"), QByteArray("abc"));
    QVERIFY(WriteWholeFile(h.path("empty.bin"), QByteArray(), &reason));
    QVERIFY(h.exists("empty.bin"));
}

void CoreFilesTest::replaceKeepsNoOldBytes()
{
    Harness h;
    h.write("f.bin", QByteArray(100, 'o'));
    QString reason;
    QVERIFY(WriteWholeFile(h.path("f.bin"), QByteArray("new"), &reason));
    QCOMPARE(h.read("f.bin"), QByteArray("new"));
}

void CoreFilesTest::failedWriteLeavesNothing()
{
    Harness h;
    QString reason;
    QVERIFY(!WriteWholeFile(h.path("no/such/folder/f.bin"), QByteArray("x"), &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(!h.exists("no"));
}

QTEST_GUILESS_MAIN(CoreFilesTest)
#include "tst_core_files.moc"
