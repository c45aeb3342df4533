// SPDX-License-Identifier: MIT
// Extraction of Tobrava II archives: the files and the list it writes, the
// questions it asks, and what it refuses to write.

#include "Samples.h"
#include "TestSupport.h"
#include "TobFixtures.h"
#include "core/Names.h"
#include "tob/TobExtract.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace tobx;
using namespace tobx::test;
using tobx::samples::MakeTobArchive;

namespace {

const QByteArray kWorkedExample = QByteArray::fromHex("565842470C000000615C622E74787400030000" "0078797A");
const QString kDone = QStringLiteral("EXTRACT DONE (");
const QString kProgram = QStringLiteral("TobExtractor");

QByteArray le32(quint32 value)
{
    return EncodeLE32(value);
}

QByteArray record(const QByteArray& name, quint32 size)
{
    return name + '\0' + le32(size);
}

// Bytes that show a piece copied from the wrong place.
QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251 + seed) & 0xFF);
    return bytes;
}

// An entry larger than the copier's buffer.
QByteArray bPayload()
{
    return pattern((2 << 20) + 11, 'b');
}

QByteArray withDirectory(const QByteArray& directory, const QByteArray& data = QByteArray())
{
    return "VXBG" + le32(quint32(directory.size())) + directory + data;
}

QStringList resultTexts(const Harness& h)
{
    return h.state.lstSrcFiles[ExtractPane].texts();
}

QList<qsizetype> selectedRows(const Harness& h)
{
    return h.state.lstSrcFiles[ExtractPane].selectedRows();
}

} // namespace

class TobExtractTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedExample()
    {
        Harness h;
        PrepareExtraction(h, kWorkedExample);
        h.state.StartTime = 100;
        h.clock.now = 100.25;
        h.box.expect(kProgram, QStringLiteral("EXTRACT DONE (0.250 seconds)"));
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.last().icon, MsgIcon::Information);
        QCOMPARE(h.read("out/a/b.txt"), QByteArray("xyz"));
        QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\na\\b.txt\r\n"));
        QCOMPARE(EntriesBelow(h.path("out")), (QStringList{"a", "a/b.txt", "data.lst"}));
        QCOMPARE(resultTexts(h), QStringList{"a\\b.txt"});
        QCOMPARE(selectedRows(h), QList<qsizetype>{0});
    }

    // With no destination folder every name would be joined to the root.
    void noDestinationFolder()
    {
        Harness h;
        const QString archive = h.write("src/tobx-unjoined.tob", MakeTobArchive({{"tobx-unjoined-entry.txt", "x"}}));
        SelectSourceFile(h.state, ExtractPane, archive, QStringLiteral("tobx-unjoined.tob"));
        QCOMPARE(h.state.DstFile[ExtractPane].FDir, QString());
        h.box.expect(QStringLiteral("ERROR"), QStringLiteral("No destination folder is chosen."));
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(h.box);
        QVERIFY(!QFileInfo::exists(h.state.DstFile[ExtractPane].FPath));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tobx-unjoined-entry.txt")));
    }

    // The list keeps the archive's bytes; only the files on disk get names
    // in the file system's encoding.
    void windows1252Names()
    {
        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"caf\xE9\\\x80.txt", "euro"}}));
        h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\ncaf\xE9\\\x80.txt\r\n"));
        QCOMPARE(h.read(QStringLiteral("out/caf\u00E9/\u20AC.txt")), QByteArray("euro"));
        QCOMPARE(resultTexts(h), QStringList{QStringLiteral("caf\u00E9\\\u20AC.txt")});
    }

    void listOnly()
    {
        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"one.txt", "1"}, {"sub\\deeper\\f.bin", "22"}, {"two.txt", ""}}));
        h.write("out/one.txt", "OLD");
        h.state.CreateLstOnly = true;
        h.box.expect(kProgram, kDone); // no question about one.txt: nothing is written
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\none.txt\r\nsub\\deeper\\f.bin\r\ntwo.txt\r\n"));
        QCOMPARE(EntriesBelow(h.path("out")), (QStringList{"data.lst", "one.txt"}));
        QCOMPARE(h.read("out/one.txt"), QByteArray("OLD"));
        QCOMPARE(resultTexts(h), (QStringList{"one.txt", "sub\\deeper\\f.bin", "two.txt"}));
        QVERIFY(selectedRows(h).isEmpty());
    }

    // The answer to "File Exist" decides about that entry alone; the entries
    // after it still come from their own offsets.
    void existingTarget_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("cExtracted");
        QTest::addColumn<bool>("listKept");
        QTest::addColumn<QList<qsizetype>>("selected");

        QTest::newRow("Yes replaces the whole file")
            << MsgResult::Yes << Outcome::Done << QByteArray("new") << true << true << QList<qsizetype>{0, 1, 2};
        QTest::newRow("No keeps the file")
            << MsgResult::No << Outcome::Done << QByteArray("old and longer") << true << true << QList<qsizetype>{0, 2};
        QTest::newRow("Cancel ends the run and drops the list")
            << MsgResult::Cancel << Outcome::Cancelled << QByteArray("old and longer") << false << false << QList<qsizetype>{0};
    }

    void existingTarget()
    {
        QFETCH(MsgResult, answer);
        QFETCH(Outcome, outcome);
        QFETCH(QByteArray, b);
        QFETCH(bool, cExtracted);
        QFETCH(bool, listKept);
        QFETCH(QList<qsizetype>, selected);

        Harness h;
        ActingBox box;
        AppState state(box, h.clock);
        PrepareExtraction(state, h, MakeTobArchive({{"a.txt", "AAA"}, {"b.txt", "new"}, {"c.txt", "CCCCC"}}));
        h.write("out/b.txt", "old and longer");
        bool listAtQuestion = true;
        box.actOnTitle = QStringLiteral("File Exist");
        box.action = [&] { listAtQuestion = h.exists("out/data.lst"); };
        box.script.expect(QStringLiteral("File Exist"), QStringLiteral("File: b.txt exist.\nDo you want to overwrite?"), answer);
        if (outcome == Outcome::Done)
            box.script.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(state), outcome);
        TOBX_VERIFY_BOXES(box.script);
        // The new list takes its name only when the run ends, and none was there.
        QVERIFY(!listAtQuestion);
        const Message& question = box.script.shown.first();
        QCOMPARE(question.icon, MsgIcon::Question);
        QCOMPARE(question.buttons, MsgButtons::YesNoCancelToAll);
        QCOMPARE(question.defaultButton, MsgResult::No);
        QCOMPARE(h.read("out/a.txt"), QByteArray("AAA"));
        QCOMPARE(h.read("out/b.txt"), b);
        QCOMPARE(h.exists("out/c.txt"), cExtracted);
        if (cExtracted)
            QCOMPARE(h.read("out/c.txt"), QByteArray("CCCCC"));
        QCOMPARE(h.exists("out/data.lst"), listKept);
        QCOMPARE(state.lstSrcFiles[ExtractPane].selectedRows(), selected);
    }

    void listFileEntry()
    {
        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"x.txt", "1"}, {"data.lst", "NOT THE LIST"}, {"y.txt", "2"}}));
        h.box.expect(QStringLiteral("Info"), QStringLiteral(
            "Archive contains .lst file which can't be extracted (new .lst file is under construction)\n"
            "If you want to extract this file - just change archive file name and try to extract again"));
        h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.first().icon, MsgIcon::Information);
        QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\nx.txt\r\ndata.lst\r\ny.txt\r\n"));
        QCOMPARE(h.read("out/y.txt"), QByteArray("2"));
        QCOMPARE(selectedRows(h), (QList<qsizetype>{0, 2}));
    }

    // An entry that would overwrite the archive being read, by its own name
    // or through a hard link in the destination.
    void archiveEntry_data()
    {
        QTest::addColumn<QString>("hardLink");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<Outcome>("outcome");

        QTest::newRow("own folder, Yes skips it") << QString() << MsgResult::Yes << Outcome::Done;
        QTest::newRow("own folder, No ends the run") << QString() << MsgResult::No << Outcome::Cancelled;
        QTest::newRow("hard link, Yes skips it") << QStringLiteral("alias.tob") << MsgResult::Yes << Outcome::Done;
    }

    void archiveEntry()
    {
        QFETCH(QString, hardLink);
        QFETCH(MsgResult, answer);
        QFETCH(Outcome, outcome);

        Harness h;
        const QString destination = hardLink.isEmpty() ? QStringLiteral("src") : QStringLiteral("out");
        const QByteArray entryName = hardLink.isEmpty() ? QByteArray("data.tob") : hardLink.toLatin1();
        const QByteArray archive = MakeTobArchive({{"first.txt", "1"}, {entryName, "NOT THE ARCHIVE"}, {"last.txt", "3"}});
        PrepareExtraction(h, archive, QStringLiteral("src/data.tob"), destination);
        if (!hardLink.isEmpty())
            QCOMPARE(::link(QFile::encodeName(h.path("src/data.tob")).constData(),
                            QFile::encodeName(h.path("out/" + hardLink)).constData()), 0);
        h.box.expect(QStringLiteral("Error"), QStringLiteral(
            "Archive contains file with the same name as archive name\n"
            "This file will be skipped this time - if you want to extract this file too\n"
            "Extract this archive to different directory than source\n\n"
            "Do you want to continue without this file?"), answer);
        if (outcome == Outcome::Done)
            h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), outcome);
        TOBX_VERIFY_BOXES(h.box);
        const Message& question = h.box.shown.first();
        QCOMPARE(question.icon, MsgIcon::Exclamation);
        QCOMPARE(question.buttons, MsgButtons::YesNo);
        QCOMPARE(question.defaultButton, MsgResult::No);
        QCOMPARE(h.read("src/data.tob"), archive);
        QCOMPARE(h.read(destination + "/first.txt"), QByteArray("1"));
        QCOMPARE(h.exists(destination + "/last.txt"), outcome == Outcome::Done);
        QCOMPARE(h.exists(destination + "/data.lst"), outcome == Outcome::Done);
    }

    // A damaged archive is refused before anything is written, the list file
    // included, and without reserving more than the file holds.
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("problem");

        QTest::newRow("shorter than a header") << QByteArray("VXBG\x01") << "the file (5 bytes) is too short to hold the header";
        QTest::newRow("directory past the end")
            << "VXBG" + le32(100) + "abcd" << "its directory (100 bytes) runs past the end of the file (12 bytes)";
        QTest::newRow("directory size 0xFFFFFFFF")
            << "VXBG" + le32(0xFFFFFFFF) + "ab" << "its directory (4294967295 bytes) runs past the end of the file (10 bytes)";
        QTest::newRow("name without its 0x00")
            << withDirectory("abc") << "entry 1 of its directory runs past the end of the directory (3 bytes)";
        QTest::newRow("size field cut off by D")
            << withDirectory(QByteArray("a\0\x01\x00", 4), "x") << "entry 1 of its directory runs past the end of the directory (4 bytes)";
        QTest::newRow("second record cut off by D")
            << withDirectory(record("a", 1) + QByteArray("b\0\x01", 3), "x") << "entry 2 of its directory runs past";
        QTest::newRow("contents past the end")
            << withDirectory(record("a", 10), "abc") << "the contents of its 1 entries (10 bytes) run past the end of the file (17 bytes)";
        QTest::newRow("size near 4 GiB")
            << withDirectory(record("big", 0xFFFFFFFF), "x") << "the contents of its 1 entries (4294967295 bytes) run past";
        QTest::newRow("sizes that add up past 32 bits")
            << withDirectory(record("a", 0x80000000) + record("b", 0x80000000)) << "(4294967296 bytes) run past";
        QTest::newRow("empty directory with trailing bytes")
            << withDirectory(QByteArray(), "xy") << "its directory is empty, yet 2 bytes follow the header";
    }

    void damaged()
    {
        QFETCH(QByteArray, archive);
        QFETCH(QString, problem);

        Harness h;
        PrepareExtraction(h, archive);
        h.write("out/data.lst", "OLD LIST");
        h.box.expect(QStringLiteral("ERROR"), QStringLiteral("The archive is damaged: "));
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(h.box);
        QVERIFY2(h.box.shown.first().text.contains(problem), qPrintable(h.box.shown.first().text));
        QCOMPARE(h.box.shown.first().icon, MsgIcon::Critical);
        QCOMPARE(EntriesBelow(h.path("out")), QStringList{"data.lst"});
        QCOMPARE(h.read("out/data.lst"), QByteArray("OLD LIST"));
        QCOMPARE(h.state.lstSrcFiles[ExtractPane].size(), 0);
    }

    // The archive becomes shorter while the user answers a question, after its
    // directory was read: the entry it ends in is not left half written, the
    // run stops with the damaged-archive message, and no signal ends the
    // program. Entries past the first megabyte are read only when their turn
    // comes, so the cut is seen.
    void archiveShrinksDuringRun_data()
    {
        QTest::addColumn<QString>("cutIn");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("cExtracted");

        const QByteArray oldB("old b");
        QTest::newRow("cut inside a later large entry, b replaced") << "c.bin" << MsgResult::Yes << bPayload() << false;
        QTest::newRow("cut inside a later large entry, b kept") << "c.bin" << MsgResult::No << oldB << false;
        QTest::newRow("cut inside the entry being replaced") << "b.bin" << MsgResult::Yes << oldB << false;
        QTest::newRow("cut after c, inside a small entry") << "d.txt" << MsgResult::Yes << bPayload() << true;
    }

    void archiveShrinksDuringRun()
    {
        QFETCH(QString, cutIn);
        QFETCH(MsgResult, answer);
        QFETCH(QByteArray, b);
        QFETCH(bool, cExtracted);

        const QByteArray c = pattern(3 << 20, 'c');
        const QByteArray d = pattern(5000, 'd');
        const QByteArray archive = MakeTobArchive({{"a.txt", "A"}, {"b.bin", bPayload()}, {"c.bin", c}, {"d.txt", d}});
        const qint64 dataStart = archive.size() - 1 - bPayload().size() - c.size() - d.size();
        const qint64 bStart = dataStart + 1, cStart = bStart + bPayload().size(), dStart = cStart + c.size();
        const qint64 cut = cutIn == QLatin1String("b.bin") ? bStart + bPayload().size() / 2
                         : cutIn == QLatin1String("c.bin") ? cStart + c.size() / 2
                                                           : dStart + 10;
        Harness h;
        ActingBox box;
        AppState state(box, h.clock);
        PrepareExtraction(state, h, archive);
        h.write("out/b.bin", "old b");
        box.actOnTitle = QStringLiteral("File Exist");
        box.action = [&] { QVERIFY(QFile::resize(state.SrcFile[ExtractPane].FPath, cut)); };
        box.script.expect(QStringLiteral("File Exist"), QStringLiteral("File: b.bin exist."), answer);
        box.script.expect(QStringLiteral("ERROR"), QStringLiteral("The archive is damaged: "));
        QCOMPARE(ExtractTobArchive(state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(box.script);
        const QString text = box.script.shown.last().text;
        QVERIFY2(text.contains(QStringLiteral("ends inside the content of ") + cutIn), qPrintable(text));
        QCOMPARE(h.read("out/a.txt"), QByteArray("A"));
        QVERIFY(h.read("out/b.bin") == b);
        QCOMPARE(h.exists("out/c.bin"), cExtracted);
        if (cExtracted)
            QVERIFY(h.read("out/c.bin") == c);
        QVERIFY(!h.exists("out/d.txt"));
        // The list under construction goes with the failed run.
        QStringList expected{"a.txt", "b.bin"};
        if (cExtracted)
            expected.append(QStringLiteral("c.bin"));
        QCOMPARE(EntriesBelow(h.path("out")), expected);
    }

    // Such an entry keeps its line in the list, is not written anywhere, is
    // named in one box before the done message, and does not disturb the
    // offsets of the entries after it.
    void unsafeNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");

        QTest::newRow("parent level") << QByteArray("..\\evil.txt") << "..\\evil.txt";
        QTest::newRow("parent levels below a folder") << QByteArray("sub\\..\\..\\evil.txt") << "sub\\..\\..\\evil.txt";
        QTest::newRow("parent level with '/'") << QByteArray("../evil.txt") << "../evil.txt";
        QTest::newRow("only a parent level") << QByteArray("..") << "..";
        QTest::newRow("leading backslash") << QByteArray("\\evil.txt") << "\\evil.txt";
        QTest::newRow("absolute path") << QByteArray("@outside@") << QString();
        QTest::newRow("drive letter") << QByteArray("C:\\evil.txt") << "C:\\evil.txt";
        QTest::newRow("drive relative") << QByteArray("C:evil.txt") << "C:evil.txt";
        QTest::newRow("dot level") << QByteArray("a\\.\\evil.txt") << "a\\.\\evil.txt";
        QTest::newRow("empty level") << QByteArray("a\\\\evil.txt") << "a\\\\evil.txt";
        QTest::newRow("trailing separator") << QByteArray("a\\") << "a\\";
        QTest::newRow("empty name") << QByteArray() << "(empty name)";
    }

    void unsafeNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);

        Harness h;
        QDir().mkpath(h.path("outside"));
        if (name == "@outside@") {
            name = QFile::encodeName(h.path("outside/evil.txt"));
            shown = QString::fromLatin1(name);
        }
        PrepareExtraction(h, MakeTobArchive({{"first.txt", "1"}, {name, "BAD!"}, {"last.txt", "3"}}));
        h.box.expect(kProgram, shown);
        h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.first().icon, MsgIcon::Exclamation);
        QCOMPARE(h.read("out/data.lst"), "data.tob\r\n\r\nfirst.txt\r\n" + name + "\r\nlast.txt\r\n");
        QCOMPARE(h.read("out/first.txt"), QByteArray("1"));
        QCOMPARE(h.read("out/last.txt"), QByteArray("3"));
        QCOMPARE(EntriesBelow(h.path("out")), (QStringList{"data.lst", "first.txt", "last.txt"}));
        QCOMPARE(EntriesBelow(h.path(".")), (QStringList{"out", "out/data.lst", "out/first.txt", "out/last.txt",
                                                         "outside", "src", "src/data.tob"}));
        const qsizetype lastRow = name.isEmpty() ? 1 : 2;
        QCOMPARE(selectedRows(h), (QList<qsizetype>{0, lastRow}));
    }

    // Links planted in the destination never carry an entry out of it.
    void plantedLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("refused");

        QTest::newRow("folder link") << "out/link" << "outside" << QByteArray("link\\evil.txt") << true;
        QTest::newRow("folder link one level down") << "out/real/link" << "outside" << QByteArray("real\\link\\evil.txt") << true;
        QTest::newRow("file link") << "out/victim.txt" << "outside/victim.txt" << QByteArray("victim.txt") << true;
        QTest::newRow("dangling file link") << "out/new.txt" << "outside/new.txt" << QByteArray("new.txt") << true;
    }

    void plantedLinks()
    {
        QFETCH(QString, link);
        QFETCH(QString, linkTarget);
        QFETCH(QByteArray, name);
        QFETCH(bool, refused);

        Harness h;
        h.write("outside/victim.txt", "KEEP");
        PrepareExtraction(h, MakeTobArchive({{name, "BAD!"}, {"after.txt", "ok"}}));
        QDir().mkpath(h.path("out/real"));
        QVERIFY(QFile::link(h.path(linkTarget), h.path(link)));
        if (refused)
            h.box.expect(kProgram, NameToText(name));
        h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(EntriesBelow(h.path("outside")), QStringList{"victim.txt"});
        QCOMPARE(h.read("outside/victim.txt"), QByteArray("KEEP"));
        QCOMPARE(h.read("out/after.txt"), QByteArray("ok"));
        QVERIFY(!QFileInfo(h.path("out/data.lst")).isSymLink());
        QCOMPARE(h.read("out/data.lst"), "data.tob\r\n\r\n" + name + "\r\nafter.txt\r\n");
    }

    // An entry name with a byte below 0x20 cannot stand on a list line (CR LF
    // would split it) nor in a file name: it is left out of both, named with
    // its reason, and the entries after it keep their offsets.
    void controlNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("listOnly");

        QTest::newRow("CR LF") << QByteArray("a\r\nb.txt") << "a<0D><0A>b.txt" << false;
        QTest::newRow("tab") << QByteArray("a\tb.txt") << "a<09>b.txt" << false;
        QTest::newRow("substitute bytes") << QByteArray("\x1a\x1a\xe9.txt") << QString::fromUtf8("<1A><1A>é.txt") << false;
        QTest::newRow("in a folder level") << QByteArray("sub\x01\\x.txt") << "sub<01>\\x.txt" << false;
        QTest::newRow("list only") << QByteArray("a\r\nb.txt") << "a<0D><0A>b.txt" << true;
    }

    void controlNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, shown);
        QFETCH(bool, listOnly);

        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"first.txt", "1"}, {name, "BAD!"}, {"last.txt", "3"}}));
        h.state.CreateLstOnly = listOnly;
        h.box.expect(kProgram, shown + QStringLiteral("  (a control character (byte below 0x20) in the name, "
                                                      "left out of the list too)"));
        h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\nfirst.txt\r\nlast.txt\r\n"));
        QCOMPARE(resultTexts(h), (QStringList{"first.txt", "last.txt"}));
        const QStringList written = listOnly ? QStringList{"data.lst"} : QStringList{"data.lst", "first.txt", "last.txt"};
        QCOMPARE(EntriesBelow(h.path("out")), written);
        if (!listOnly)
            QCOMPARE(h.read("out/last.txt"), QByteArray("3"));
    }

    // The first list line names the archive for a later build; a name that
    // Windows-1252 cannot spell, or one with a control character, would come
    // back as another name, so the run is refused before anything is written.
    void sourceNameTheListCannotCarry_data()
    {
        QTest::addColumn<QString>("archiveName");
        QTest::addColumn<QString>("problem");

        QTest::newRow("Japanese letters") << QString::fromUtf8("日本é.tob") << QString::fromUtf8("no character for \"日本\"");
        QTest::newRow("outside the BMP") << QString::fromUtf8("a\U0001F600.tob") << QString::fromUtf8("no character for \"\U0001F600\"");
        QTest::newRow("control character") << QStringLiteral("a\x01.tob") << "control character";
    }

    void sourceNameTheListCannotCarry()
    {
        QFETCH(QString, archiveName);
        QFETCH(QString, problem);

        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"a.txt", "1"}}), "src/" + archiveName);
        h.box.expect(QStringLiteral("ERROR"), QStringLiteral("The archive's name cannot be written into the list file: ")
                                                  + archiveName);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(h.box);
        QVERIFY2(h.box.shown.first().text.contains(problem), qPrintable(h.box.shown.first().text));
        QCOMPARE(EntriesBelow(h.path("out")), QStringList());
    }

    // The list takes its name only when the run reaches its end: a cancel or
    // a failure leaves an old list byte for byte and no list where none was,
    // and no temporary file either.
    void listReplacedOnlyAtTheEnd_data()
    {
        QTest::addColumn<QByteArray>("oldList"); // null: none
        QTest::addColumn<MsgResult>("answer");    // for b.txt; Ok: b.txt is not there
        QTest::addColumn<bool>("blockFolder");    // a file where the folder c goes
        QTest::addColumn<Outcome>("outcome");

        const QByteArray old = "data.tob\r\n\r\nhand\\edited.txt, as the user left it\r\n";
        for (const QByteArray& oldList : {old, QByteArray()}) {
            const char* which = oldList.isNull() ? "no old list" : "old list";
            QTest::addRow("%s, done", which) << oldList << MsgResult::Yes << false << Outcome::Done;
            QTest::addRow("%s, cancel", which) << oldList << MsgResult::Cancel << false << Outcome::Cancelled;
            QTest::addRow("%s, error", which) << oldList << MsgResult::Ok << true << Outcome::Stopped;
        }
    }

    void listReplacedOnlyAtTheEnd()
    {
        QFETCH(QByteArray, oldList);
        QFETCH(MsgResult, answer);
        QFETCH(bool, blockFolder);
        QFETCH(Outcome, outcome);

        Harness h;
        PrepareExtraction(h, MakeTobArchive({{"a.txt", "A"}, {"b.txt", "B"}, {"c\\d.txt", "D"}}));
        QStringList expected{"a.txt"};
        if (!oldList.isNull())
            h.write("out/data.lst", oldList);
        if (answer != MsgResult::Ok) {
            h.write("out/b.txt", "old b");
            h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: b.txt exist."), answer);
        }
        if (blockFolder) {
            h.write("out/c", "in the way");
            h.box.expect(QStringLiteral("ERROR"), QStringLiteral("Cannot create the folder"));
        }
        if (outcome == Outcome::Done)
            h.box.expect(kProgram, kDone);
        QCOMPARE(ExtractTobArchive(h.state), outcome);
        TOBX_VERIFY_BOXES(h.box);

        if (outcome == Outcome::Done) {
            QCOMPARE(h.read("out/data.lst"), QByteArray("data.tob\r\n\r\na.txt\r\nb.txt\r\nc\\d.txt\r\n"));
            expected << "b.txt" << "c" << "c/d.txt" << "data.lst";
        } else {
            QCOMPARE(h.exists("out/data.lst"), !oldList.isNull());
            if (!oldList.isNull()) {
                QCOMPARE(h.read("out/data.lst"), oldList);
                expected << "data.lst";
            }
            if (answer != MsgResult::Ok)
                expected << "b.txt";
            if (blockFolder)
                expected << "b.txt" << "c";
        }
        expected.sort();
        QCOMPARE(EntriesBelow(h.path("out")), expected);
    }

    // Failures of the file system end the run with the path and the reason;
    // what was written before stays, the archive is never touched, and the
    // list, which takes its name only at the end, is not left behind.
    void ioFailures_data()
    {
        QTest::addColumn<QString>("archiveFile");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("makeDestination");
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<QString>("what");

        const QByteArray one = MakeTobArchive({{"a.txt", "1"}});
        QTest::newRow("destination missing")
            << "src/data.tob" << "nowhere" << false << one << "Cannot create the list file";
        QTest::newRow("file where a folder goes")
            << "src/data.tob" << "out" << true << MakeTobArchive({{"a", "1"}, {"a\\b", "2"}}) << "Cannot create the folder";
        QTest::newRow("folder where a file goes")
            << "src/data.tob" << "out" << true << MakeTobArchive({{"d\\x", "1"}, {"d", "2"}}) << "Cannot write the file";
        QTest::newRow("list would replace the archive")
            << "src/data.lst" << "src" << true << one << "The list file would replace the archive itself";
    }

    void ioFailures()
    {
        QFETCH(QString, archiveFile);
        QFETCH(QString, destination);
        QFETCH(bool, makeDestination);
        QFETCH(QByteArray, archive);
        QFETCH(QString, what);

        Harness h;
        PrepareExtraction(h, archive, archiveFile, destination, makeDestination);
        h.box.expect(QStringLiteral("ERROR"), what);
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.first().icon, MsgIcon::Critical);
        QCOMPARE(h.read(archiveFile), archive);
        QCOMPARE(h.exists(destination), makeDestination);
        const QString list = destination + "/data.lst";
        if (list != archiveFile)
            QVERIFY(!h.exists(list));
        if (makeDestination)
            QVERIFY(!EntriesBelow(h.path(destination)).join(QLatin1Char(' ')).contains(QStringLiteral("data.lst.")));
    }
};

QTEST_APPLESS_MAIN(TobExtractTest)
#include "tst_tob_extract.moc"
