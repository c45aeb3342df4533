// SPDX-License-Identifier: MIT
// Source type detection and the dispatch table of the Go buttons.
#include "TestSupport.h"
#include "core/FileUtils.h"
#include "core/ListFile.h"
#include "detect/Dispatch.h"
#include "detect/QualifySrcFile.h"
#include "rollcage/RcTweakModel.h"

#include <QDir>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {
const QByteArray kJfif = QByteArray::fromHex("FFD8FFE000104A464946");
QByteArray padded(const QByteArray& head)
{
    return head + QByteArray(qMax<qsizetype>(0, 16 - head.size()), 'z');
}
} // namespace

class DetectTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void qualify_data();
    void qualify();
    void unreadableFile();
    void legend();
    void dispatch_data();
    void dispatch();
    void dispatchRestoresStartFolder();
};

void DetectTest::qualify_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("warning"); // the box shown, empty for none

    QTest::newRow("9 bytes") << "data.tob" << QByteArray("VXBG12345") << 0 << "File not found or file is empty or wrong file size.";
    QTest::newRow("10 bytes examined") << "data.tob" << QByteArray("VXBG123456") << 1 << "";
    QTest::newRow("archive wrong extension") << "data.bin" << padded("VXBG") << 1 << "Extension doesn't match - file qualified as tob archive";
    QTest::newRow("lst beginning VXBG is an archive") << "x.lst" << padded("VXBG") << 1 << "Extension doesn't match - file qualified as tob archive";
    QTest::newRow("tob video") << "intro.tob" << padded("BIK") << 5 << "";
    QTest::newRow("bik video") << "intro.bik" << padded("BIK") << 15 << "";
    QTest::newRow("video other extension") << "intro.avi" << padded("BIK") << 5 << "Extension doesn't match - qualified as TObrava I Bik";
    QTest::newRow("jfif") << "pic.jpg" << padded(kJfif) << 14 << "";
    QTest::newRow("jfif wrong extension") << "pic.toj" << padded(kJfif) << 14 << "Extension doesn't match - file qualified as jpg";
    QTest::newRow("exif jpeg not recognised") << "pic.jpg" << padded(QByteArray::fromHex("FFD8FFE1")) << 0 << "";
    QTest::newRow("toj") << "pic.toj" << padded(QByteArray(1, '\0')) << 4 << "";
    QTest::newRow("toj odd first byte") << "pic.toj" << padded("x") << 4 << "Doesn't seem to be .toj - anyway qualified as toj";
    QTest::newRow("idx") << "game.idx" << padded(QByteArray(4, '\0')) << 3 << "";
    QTest::newRow("idx odd start") << "game.idx" << padded("abcd") << 3 << "Doesn't start form 0000 but maybe this is correct Rollcage idx";
    QTest::newRow("img") << "game.img" << padded("GT20") << 2 << "";
    QTest::newRow("img without magic") << "game.img" << padded("GT21") << 0 << "";
    QTest::newRow("tob list upper case") << "list.lst" << QByteArray("C:\\games\\data.TOB\r\n\r\n") << 11 << "";
    QTest::newRow("rollcage list") << "list.lst" << QByteArray("data.idx\r\n\r\n") << 12 << "";
    QTest::newRow("list field ends at comma") << "list.lst" << QByteArray("data.tob,x\r\n\r\n") << 11 << "";
    QTest::newRow("list field not an archive") << "list.lst" << QByteArray("data.tob.bak\r\n") << 0 << "This is not valid lst file - try to correct first line manually";
    QTest::newRow("other extension") << "notes.txt" << padded("hello") << 0 << "";
}

void DetectTest::qualify()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    QFETCH(QString, warning);
    // The file step and the step on bytes in memory decide alike.
    for (const bool inMemory : {false, true}) {
        Harness h;
        if (!warning.isEmpty())
            h.box.expect(QString(), warning);
        const QString path = h.write(name, bytes);
        const quint8 result = inMemory
            ? QualifySrcHead(h.state, bytes, GetFileExt(name), [&bytes] { return FirstListField(bytes); })
            : QualifySrcFile(h.state, path, GetFileExt(name));
        QCOMPARE(int(result), type);
        TOBX_VERIFY_BOXES(h.box);
        if (!warning.isEmpty()) {
            const Message& box = h.box.shown.constFirst();
            QCOMPARE(box.text, warning);
            const bool error = type == 0 && warning.startsWith(QLatin1String("File not found"));
            QCOMPARE(box.shownTitle(), error ? QStringLiteral("ERROR") : QStringLiteral("TobExtractor"));
            QCOMPARE(box.icon, error ? MsgIcon::Critical : MsgIcon::None);
        }
    }
}

void DetectTest::unreadableFile()
{
    Harness h;
    h.box.expect(QStringLiteral("ERROR"), QStringLiteral("File not found"));
    QCOMPARE(int(QualifySrcFile(h.state, h.path("missing.tob"), QStringLiteral("tob"))), 0);
    TOBX_VERIFY_BOXES(h.box);
}

void DetectTest::legend()
{
    QCOMPARE(FTypeLegend(),
             QStringLiteral("FType:  0 - Unknown - not recognized;  1 - TOBrava II archive;  2 - Rollcage archive IMaGe;  "
                            "3 - Rollcage InDeX;  4 - TObrava I Jpg;  5 - TObrava I Bik;  11 - Tobrava II LST;  "
                            "12 - Rollcage LST;  14 - JPG;  15 - BIK"));
    QCOMPARE(FTypeLegendEntry(11), QStringLiteral("11 - Tobrava II LST"));
    QVERIFY(FTypeLegendEntry(7).isEmpty());
}

void DetectTest::dispatch_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("outcome");

    const QString unknown = QStringLiteral("Unknown source file format");
    const QString notYet = QStringLiteral("Not implemented yet!");
    const int nothing = int(Outcome::Nothing);
    const int stopped = int(Outcome::Stopped);
    QTest::newRow("archive in build pane") << 1 << "data.tob" << padded("VXBG") << QStringList{} << nothing;
    QTest::newRow("tob list in extract pane") << 0 << "l.lst" << QByteArray("data.tob\r\n\r\n") << QStringList{} << nothing;
    QTest::newRow("rc list in extract pane") << 0 << "l.lst" << QByteArray("data.idx\r\n\r\n") << QStringList{} << nothing;
    QTest::newRow("bik in build pane") << 1 << "v.bik" << padded("BIK") << QStringList{notYet} << stopped;
    QTest::newRow("jpeg in build pane") << 1 << "p.jpg" << padded(kJfif) << QStringList{notYet} << stopped;
    QTest::newRow("img with magic") << 0 << "g.img" << padded("GT20") << QStringList{notYet} << stopped;
    QTest::newRow("img without magic") << 0 << "g.img" << padded("XXXX") << QStringList{unknown} << stopped;
    QTest::newRow("toj in extract pane") << 0 << "p.toj" << padded(QByteArray(1, '\0')) << QStringList{notYet} << stopped;
    QTest::newRow("tob video in extract pane") << 0 << "v.tob" << padded("BIK") << QStringList{notYet} << stopped;
    QTest::newRow("too small") << 0 << "d.tob" << QByteArray("VXBG") << QStringList{QStringLiteral("File not found"), unknown} << stopped;
}

void DetectTest::dispatch()
{
    QFETCH(int, pane);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, boxes);
    QFETCH(int, outcome);
    Harness h;
    for (const QString& text : boxes)
        h.box.expect(QString(), text);
    h.state.lstSrcFiles[pane].append(QStringLiteral("left over from the last run"));
    const QString path = h.write(name, bytes);
    SetDstFolder(h.state, pane, h.dir.path());
    SelectSourceFile(h.state, pane, path, name);
    RcTweakModel tweaks;
    QCOMPARE(int(RunPaneOperation(h.state, pane, tweaks).outcome), outcome);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.state.lstSrcFiles[pane].size(), 0);
    if (boxes.contains(QStringLiteral("Unknown source file format")))
        QCOMPARE(h.box.shown.constLast().icon, MsgIcon::Exclamation);
}

void DetectTest::dispatchRestoresStartFolder()
{
    Harness h;
    h.state.StartDir = QDir::currentPath();
    const QString path = h.write("g.img", padded("GT20"));
    SelectSourceFile(h.state, ExtractPane, path, QStringLiteral("g.img"));
    h.box.expect(QString(), QStringLiteral("Not implemented yet!"));
    QDir::setCurrent(h.dir.path());
    RcTweakModel tweaks;
    RunPaneOperation(h.state, ExtractPane, tweaks);
    QCOMPARE(QDir::currentPath(), h.state.StartDir);
}

QTEST_GUILESS_MAIN(DetectTest)
#include "tst_detect.moc"
