// SPDX-License-Identifier: MIT
// Path, number and output-name utilities.
#include "TestSupport.h"
#include "core/FileUtils.h"
#include "core/Names.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;

class CoreUtilsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signatureTables();

    void joinPath_data();
    void joinPath();

    void getFileExt_data();
    void getFileExt();

    void le32_data();
    void le32();

    void getFileSize();

    void extractPaneOutputName_data();
    void extractPaneOutputName();

    void stripLstDir_data();
    void stripLstDir();

    void buildPaneOutputName_data();
    void buildPaneOutputName();

    void selectSourceKeepsOtherPane();
};

void CoreUtilsTest::signatureTables()
{
    Harness h;
    QCOMPARE(h.state.SrcSig[0], QByteArray("VXBG"));
    QCOMPARE(h.state.SrcSig[2], QByteArray::fromHex("FFD8FFE000104A464946"));
    QCOMPARE(h.state.SrcSig[3], QByteArray(1, '\0'));
    QCOMPARE(h.state.SrcSig[4], QByteArray(4, '\0'));
    QCOMPARE(h.state.SrcSig[5], QByteArray("GT20"));
    QCOMPARE(h.state.SrcExt[4], QStringLiteral("idx"));
}

void CoreUtilsTest::joinPath_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("joined");
    QTest::newRow("root") << "/" << "data.lst" << "/data.lst";
    QTest::newRow("folder") << "/work" << "data.lst" << "/work/data.lst";
    QTest::newRow("trailing separator kept single") << "/work/" << "data.lst" << "/work/data.lst";
    QTest::newRow("empty name") << "/work" << "" << "/work/";
    QTest::newRow("name with separator doubles") << "/work" << "/x" << "/work//x";
}

void CoreUtilsTest::joinPath()
{
    QFETCH(QString, dir);
    QFETCH(QString, name);
    QFETCH(QString, joined);
    QCOMPARE(JoinPath(dir, name), joined);
}

void CoreUtilsTest::getFileExt_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ext");
    QTest::newRow("upper case") << "DATA.TOB" << "tob";
    QTest::newRow("no full stop") << "README" << "";
    QTest::newRow("last of several") << "archive.tar.tob" << "tob";
    QTest::newRow("full stop last") << "name." << "";
}

void CoreUtilsTest::getFileExt()
{
    QFETCH(QString, name);
    QFETCH(QString, ext);
    QCOMPARE(GetFileExt(name), ext);
}

void CoreUtilsTest::le32_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("258") << 258u << QByteArray::fromHex("02010000");
    QTest::newRow("zero") << 0u << QByteArray::fromHex("00000000");
    QTest::newRow("max is unsigned") << 4294967295u << QByteArray::fromHex("FFFFFFFF");
    QTest::newRow("4096") << 4096u << QByteArray::fromHex("00100000");
}

void CoreUtilsTest::le32()
{
    QFETCH(quint32, value);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EncodeLE32(value), bytes);
    QCOMPARE(DecodeLE32(bytes), value);
    QCOMPARE(DecodeLE32(QByteArray("xy") + bytes, 2), value);
}

void CoreUtilsTest::getFileSize()
{
    Harness h;
    QCOMPARE(GetFileSize(h.write("five", "12345")), 5.0);
    QCOMPARE(GetFileSize(h.write("empty", "")), 0.0);
    QCOMPARE(GetFileSize(h.path("missing")), -1.0);
    QCOMPARE(GetFileSize(h.dir.path()), -1.0); // a folder has no file size
    QCOMPARE(GetFileSize(QString()), -1.0);
}

void CoreUtilsTest::extractPaneOutputName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("previous");
    QTest::addColumn<QString>("output");
    QTest::newRow("tob") << "data.tob" << "" << "data.lst";
    QTest::newRow("stem case kept") << "game.IDX" << "" << "game.lst";
    QTest::newRow("no extension") << "README" << "" << "README.lst";
    QTest::newRow("nothing chosen keeps name") << "" << "old.lst" << "old.lst";
}

void CoreUtilsTest::extractPaneOutputName()
{
    QFETCH(QString, name);
    QFETCH(QString, previous);
    QFETCH(QString, output);
    Harness h;
    h.state.SrcFile[0].FName = name;
    h.state.SrcFile[0].FExt = GetFileExt(name);
    h.state.DstFile[0].FName = previous;
    QVERIFY(SetDstFileName(h.state, ExtractPane));
    QCOMPARE(h.state.DstFile[0].FName, output);
}

void CoreUtilsTest::stripLstDir_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("stripped");
    QTest::newRow("case ignored") << "C:/Mods/" << QByteArray("c:\\mods\\a\\b.tob") << QByteArray("a\\b.tob");
    QTest::newRow("exactly the folder stays") << "C:/Mods/" << QByteArray("C:\\Mods\\") << QByteArray("C:\\Mods\\");
    QTest::newRow("posix folder") << "/home/u/mod/" << QByteArray("/HOME/u/mod/tex/a.dds") << QByteArray("tex/a.dds");
    QTest::newRow("other folder kept") << "/home/u/mod/" << QByteArray("/home/u/other/a.dds") << QByteArray("/home/u/other/a.dds");
    QTest::newRow("shorter kept") << "/home/u/mod/" << QByteArray("a.dds") << QByteArray("a.dds");
    QTest::newRow("no folder") << "" << QByteArray("a.dds") << QByteArray("a.dds");
}

void CoreUtilsTest::stripLstDir()
{
    QFETCH(QString, dir);
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, stripped);
    Harness h;
    h.state.SrcFile[1].FDir = dir;
    StripLstDir(h.state, field);
    QCOMPARE(field, stripped);
}

void CoreUtilsTest::buildPaneOutputName_data()
{
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<QString>("output");
    QTest::newRow("first field") << QByteArray("data.tob\r\n\r\na.txt\r\n") << "data.tob";
    QTest::newRow("ends at comma") << QByteArray("  data.tob,x\r\n") << "data.tob";
    QTest::newRow("sub-path mapped") << QByteArray("sub\\data.tob\r\n") << "sub/data.tob";
    QTest::newRow("windows-1252 mapped") << QByteArray("d\xE9j\xE0.tob\r\n") << QString::fromUtf8("déjà.tob");
    QTest::newRow("empty list file") << QByteArray() << "";
}

void CoreUtilsTest::buildPaneOutputName()
{
    QFETCH(QByteArray, list);
    QFETCH(QString, output);
    Harness h;
    const QString path = h.write("mods/data.lst", list);
    h.state.DstFile[1].FDir = h.dir.path();
    SelectSourceFile(h.state, BuildPane, path, QStringLiteral("data.lst"));
    QCOMPARE(h.state.SrcFile[1].FDir, h.path("mods/"));
    QCOMPARE(h.state.SrcFile[1].FExt, QStringLiteral("lst"));
    QCOMPARE(h.state.DstFile[1].FName, output);
    QCOMPARE(h.state.DstFile[1].FPath, JoinPath(h.dir.path(), output));
}

void CoreUtilsTest::selectSourceKeepsOtherPane()
{
    Harness h;
    h.state.DstFile[0].FDir = QStringLiteral("/work");
    const QString archive = h.write("games/data.tob", "VXBG\0\0\0\0\0\0");
    SelectSourceFile(h.state, ExtractPane, archive, QStringLiteral("data.tob"));
    QCOMPARE(h.state.SrcFile[0].FPath, archive);
    QCOMPARE(h.state.SrcFile[0].FDir, h.path("games/"));
    QCOMPARE(h.state.SrcFile[0].FName, QStringLiteral("data.tob"));
    QCOMPARE(h.state.SrcFile[0].FExt, QStringLiteral("tob"));
    QCOMPARE(h.state.DstFile[0].FPath, QStringLiteral("/work/data.lst"));
    QVERIFY(h.state.SrcFile[1].FPath.isEmpty());
    QVERIFY(h.state.DstFile[1].FName.isEmpty());
}

QTEST_GUILESS_MAIN(CoreUtilsTest)
#include "tst_core_utils.moc"
