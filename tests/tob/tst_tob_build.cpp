// SPDX-License-Identifier: MIT
// Building Tobrava II archives from list files: the bytes written, the
// refusals, the names left out, moving files, and the old archive that stays
// whole whenever a build does not complete.

#include "Samples.h"
#include "TestSupport.h"
#include "TobFixtures.h"
#include "core/Names.h"
#include "tob/TobBuild.h"
#include "tob/TobExtract.h"

#include <QFile>
#include <QTest>

#include <unistd.h>

using namespace tobx;
using namespace tobx::test;
using tobx::samples::MakeTobArchive;
using tobx::samples::TobEntry;

namespace {

const QString kDone = QStringLiteral("BUILD DONE (");
const QString kProgram = QStringLiteral("TobExtractor");

// Scripts boxes written as "title|text".
void expectBoxes(ScriptedMessageBox& box, const QStringList& boxes)
{
    for (const QString& b : boxes)
        box.expect(b.section(QLatin1Char('|'), 0, 0), b.section(QLatin1Char('|'), 1));
}

// The list folder as the list's own fields would spell it, in other case.
QByteArray listFolderInCapitals(const Harness& h)
{
    return QFile::encodeName(h.path("mod") + QLatin1Char('/')).toUpper();
}

} // namespace

class TobBuildTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void singleLine()
    {
        Harness h;
        PrepareBuild(h.state, h, "data.tob\r\n");
        h.state.StartTime = 10;
        h.clock.now = 22;
        h.box.expect(kProgram, QStringLiteral("BUILD DONE (12.000 seconds)"));
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.last().icon, MsgIcon::Information);
        QCOMPARE(h.read("outdir/data.tob"), QByteArray::fromHex("5658424700000000"));
    }

    void workedExample()
    {
        Harness h;
        h.write("mod/a/b.txt", "xyz");
        PrepareBuild(h.state, h, "data.tob\r\n\r\na\\b.txt\r\n");
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("outdir/data.tob"), QByteArray::fromHex("565842470C000000615C622E74787400030000" "0078797A"));
        QCOMPARE(h.state.lstSrcFiles[BuildPane].size(), 0);
    }

    // Extracting an archive and building from the list it leaves gives the
    // archive back, byte for byte.
    void roundTrip_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("maxSize");

        QTest::newRow("many small entries, every fifth empty") << 3000 << 64;
        QTest::newRow("fewer larger entries") << 40 << 200000;
    }

    void roundTrip()
    {
        QFETCH(int, count);
        QFETCH(int, maxSize);

        Harness h;
        const QByteArray archive = MakeTobArchive(samples::NestedEntries(count, maxSize, 5));
        PrepareExtraction(h, archive, QStringLiteral("src/data.tob"), QStringLiteral("mod"));
        h.box.expect(kProgram, QStringLiteral("EXTRACT DONE ("));
        QCOMPARE(ExtractTobArchive(h.state), Outcome::Done);
        PrepareBuild(h.state, h, h.read("mod/data.lst"));
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("outdir/data.tob"), archive);
    }

    void firstField_data()
    {
        QTest::addColumn<QString>("listFile");
        QTest::addColumn<QByteArray>("firstLine");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("archive");

        const QString done = kProgram + "|" + kDone;
        const QString mod = QStringLiteral("mod/data.lst");
        const QString out = QStringLiteral("outdir");
        QTest::newRow("too short") << mod << QByteArray(".tob") << out
            << QStringList{"Error|.tob file name to create too short - look first line inside .lst file"} << QString();
        QTest::newRow("no .tob extension") << mod << QByteArray("data.txt") << out
            << QStringList{"Error|First line of .lst doesn't contain a valid .tob file name - no .tob extension"} << QString();
        QTest::newRow("extension in capitals") << mod << QByteArray("data.TOB") << out
            << QStringList{done} << "outdir/data.TOB";
        QTest::newRow("list named otherwise") << "mod/mods.lst" << QByteArray("data.tob") << out
            << QStringList{"Just info|File name mismatch\n(.lst file name doesn't match .tob name inside .lst file)", done}
            << "outdir/data.tob";
        QTest::newRow("list folder written in front") << mod << QByteArray("@mod@data.tob") << out
            << QStringList{done} << "outdir/data.tob";
        QTest::newRow("archive outside the output folder") << mod << QByteArray("..\\data.tob") << out
            << QStringList{"Just info|File name mismatch", "ERROR|not a plain name inside the output folder"} << QString();
        QTest::newRow("archive name with a 0x00") << mod << QByteArray("x\0y.tob", 7) << out
            << QStringList{"Just info|File name mismatch", "ERROR|not a plain name inside the output folder"} << QString();
        QTest::newRow("archive name with control bytes") << mod << QByteArray("\x1a\x1a\xe9.tob") << out
            << QStringList{"Just info|File name mismatch",
                           QString::fromUtf8("ERROR|not a plain name inside the output folder:\n<1A><1A>é.tob\n"
                                             "(a control character (byte below 0x20) in the name)")}
            << QString();
        QTest::newRow("archive name with an empty level") << mod << QByteArray("sub\\\\data.tob") << out
            << QStringList{"Just info|File name mismatch", "ERROR|sub\\\\data.tob\n(empty folder level)"} << QString();
        QTest::newRow("archive would replace the list") << "mod/data.tob" << QByteArray("data.tob") << "mod"
            << QStringList{"ERROR|The archive would replace the list file it is built from"} << QString();
    }

    void firstField()
    {
        QFETCH(QString, listFile);
        QFETCH(QByteArray, firstLine);
        QFETCH(QString, destination);
        QFETCH(QStringList, boxes);
        QFETCH(QString, archive);

        Harness h;
        h.write("mod/a.txt", "A");
        firstLine.replace("@mod@", listFolderInCapitals(h));
        const QByteArray list = firstLine + "\r\n\r\na.txt\r\n";
        PrepareBuild(h.state, h, list, listFile, destination);
        expectBoxes(h.box, boxes);
        QCOMPARE(BuildTobArchive(h.state), archive.isEmpty() ? Outcome::Stopped : Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        for (const Message& m : std::as_const(h.box.shown))
            QCOMPARE(m.icon, m.title.compare(QLatin1String("error"), Qt::CaseInsensitive) == 0 ? MsgIcon::Critical
                                                                                                 : MsgIcon::Information);
        QCOMPARE(h.read(listFile), list);
        if (archive.isEmpty())
            QCOMPARE(EntriesBelow(h.path("outdir")), QStringList{});
        else
            QCOMPARE(h.read(archive), MakeTobArchive({{"a.txt", "A"}}));
    }

    // A list whose folder is not known: its names would be taken from the
    // root, and with "&Move Files" deleted there.
    void unknownListFolder()
    {
        Harness h;
        const QByteArray list = "data.tob\r\n\r\ntmp\r\n";
        PrepareBuild(h.state, h, list);
        h.state.SrcFile[BuildPane].FDir.clear();
        h.state.MoveFiles = true;
        h.box.expect(QStringLiteral("ERROR"), QStringLiteral("is not known"));
        QCOMPARE(BuildTobArchive(h.state), Outcome::Stopped);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(EntriesBelow(h.path("outdir")), QStringList{});
        QCOMPARE(h.read("mod/data.lst"), list);
    }

    // Names that are not added: the second pass names each in a "Skip" box,
    // and with "&Move Files" ticked none of them is deleted.
    void skipped_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("name");

        QTest::newRow("the list itself") << QByteArray("data.tob") << QByteArray("data.lst");
        QTest::newRow("the list in capitals") << QByteArray("data.tob") << QByteArray("DATA.LST");
        QTest::newRow("the companion list") << QByteArray("game.tob") << QByteArray("GAME.lst");
        QTest::newRow("a hard link to the list") << QByteArray("data.tob") << QByteArray("alias.lst");
        QTest::newRow("missing file") << QByteArray("data.tob") << QByteArray("missing.txt");
        QTest::newRow("a folder") << QByteArray("data.tob") << QByteArray("sub");
        QTest::newRow("parent level") << QByteArray("data.tob") << QByteArray("..\\outside.txt");
        QTest::newRow("absolute path") << QByteArray("data.tob") << QByteArray("@outside@");
        QTest::newRow("through a folder link") << QByteArray("data.tob") << QByteArray("link\\x.txt");
        QTest::newRow("a file link") << QByteArray("data.tob") << QByteArray("flink.txt");
    }

    void skipped()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, name);

        Harness h;
        h.write("mod/a.txt", "A");
        h.write("mod/b.txt", "BB");
        h.write("mod/sub/keep.txt", "K");
        h.write("mod/GAME.lst", "not a list");
        h.write("outside.txt", "OUT");
        h.write("outsidedir/x.txt", "X");
        if (name == "@outside@")
            name = QFile::encodeName(h.path("outside.txt"));
        const QByteArray list = first + "\r\n\r\na.txt\r\n" + name + "\r\nb.txt\r\n";
        PrepareBuild(h.state, h, list);
        QVERIFY(QFile::link(h.path("outsidedir"), h.path("mod/link")));
        QVERIFY(QFile::link(h.path("outside.txt"), h.path("mod/flink.txt")));
        QCOMPARE(::link(QFile::encodeName(h.path("mod/data.lst")).constData(),
                        QFile::encodeName(h.path("mod/alias.lst")).constData()), 0);
        const QStringList untouched = EntriesBelow(h.path("."));
        h.state.MoveFiles = true;

        if (first != "data.tob")
            h.box.expect(QStringLiteral("Just info"), QString());
        h.box.expect(QStringLiteral("Skip"), NameToText(name) + QStringLiteral(" - should be not added to archive - skipped"));
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        const QString archive = "outdir/" + QString::fromLatin1(first);
        QCOMPARE(h.read(archive), MakeTobArchive({{"a.txt", "A"}, {"b.txt", "BB"}}));
        QStringList expected = untouched;
        expected.removeAll(QStringLiteral("mod/a.txt"));
        expected.removeAll(QStringLiteral("mod/b.txt"));
        expected.append(archive);
        expected.sort();
        QCOMPARE(EntriesBelow(h.path(".")), expected);
        QCOMPARE(h.read("mod/data.lst"), list);
    }

    // An unsafe name, or one reached through a link, is skipped with its reason
    // under the "Skip" text, the name spelt as the list spells it.
    void skipReasons_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");

        const QString skipped = QStringLiteral(" - should be not added to archive - skipped\n(");
        QTest::newRow("control byte") << QByteArray("a\x01.txt")
                                      << "a<01>.txt" + skipped + "a control character (byte below 0x20) in the name)";
        QTest::newRow("tab inside") << QByteArray("a\tb.txt") << "a<09>b.txt" + skipped + "a control character (byte below 0x20) in the name)";
        QTest::newRow("parent level") << QByteArray("..\\outside.txt") << "..\\outside.txt" + skipped + "\"..\" level)";
        QTest::newRow("dot level") << QByteArray(".\\a.txt") << ".\\a.txt" + skipped + "\".\" level)";
        QTest::newRow("empty level") << QByteArray("sub\\\\a.txt") << "sub\\\\a.txt" + skipped + "empty folder level)";
        QTest::newRow("folder link") << QByteArray("link\\x.txt") << "link\\x.txt" + skipped + "a symbolic link on the way)";
        QTest::newRow("file link") << QByteArray("flink.txt") << "flink.txt" + skipped + "a symbolic link)";
    }

    void skipReasons()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);

        Harness h;
        h.write("mod/a.txt", "A");
        h.write("mod/sub/a.txt", "S");
        h.write("outside.txt", "OUT");
        h.write("outsidedir/x.txt", "X");
        PrepareBuild(h.state, h, "data.tob\r\n\r\na.txt\r\n" + name + "\r\n");
        QVERIFY(QFile::link(h.path("outsidedir"), h.path("mod/link")));
        QVERIFY(QFile::link(h.path("outside.txt"), h.path("mod/flink.txt")));
        h.box.expect(QStringLiteral("Skip"), text);
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.box.shown.first().text, text);
        QCOMPARE(h.read("outdir/data.tob"), MakeTobArchive({{"a.txt", "A"}}));
    }

    // The question names the archive as the list spells it.
    void overwriteQuestionKeepsTheListSpelling()
    {
        Harness h;
        h.write("mod/a.txt", "A");
        h.write("outdir/sub/data.tob", "OLD");
        PrepareBuild(h.state, h, "sub\\data.tob\r\n\r\na.txt\r\n");
        h.box.expect(QStringLiteral("Just info"), QString());
        h.box.expect(QStringLiteral("File already exist"), QStringLiteral("sub\\data.tob already exist\nDo you want to overwrite it?"),
                     MsgResult::No);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Cancelled);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("outdir/sub/data.tob"), QByteArray("OLD"));
    }

    // How list fields become names in the directory.
    void fields_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QList<QByteArray>>("names");

        QTest::newRow("a comma splits a line") << QByteArray("data.tob\r\n\r\na.txt,b.txt\r\n") << QList<QByteArray>{"a.txt", "b.txt"};
        QTest::newRow("first line goes on after a comma") << QByteArray("data.tob,a.txt\r\n") << QList<QByteArray>{"a.txt"};
        QTest::newRow("list folder written in front") << QByteArray("data.tob\r\n@mod@tex\\a.dds\r\n") << QList<QByteArray>{"tex\\a.dds"};
        QTest::newRow("leading blanks") << QByteArray("data.tob\r\n   a.txt\r\n") << QList<QByteArray>{"a.txt"};
        QTest::newRow("a name listed twice") << QByteArray("data.tob\r\na.txt\r\na.txt\r\n") << QList<QByteArray>{"a.txt", "a.txt"};
        QTest::newRow("zero-byte file") << QByteArray("data.tob\r\nzero.bin\r\nb.txt\r\n") << QList<QByteArray>{"zero.bin", "b.txt"};
        QTest::newRow("lines ended by LF only") << QByteArray("data.tob\n\na.txt\nb.txt") << QList<QByteArray>{"a.txt", "b.txt"};
    }

    void fields()
    {
        QFETCH(QByteArray, list);
        QFETCH(QList<QByteArray>, names);

        Harness h;
        const QList<TobEntry> files{{"a.txt", "aaa"}, {"b.txt", "b"}, {"tex\\a.dds", "DDS"}, {"zero.bin", ""}};
        for (const TobEntry& file : files)
            h.write("mod/" + NameToPath(file.name), file.content);
        list.replace("@mod@", listFolderInCapitals(h));
        PrepareBuild(h.state, h, list);
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QList<TobEntry> expected;
        for (const QByteArray& name : names)
            expected.append({name, h.read("mod/" + NameToPath(name))});
        QCOMPARE(h.read("outdir/data.tob"), MakeTobArchive(expected));
    }

    // Files go only once the archive is complete; a name listed twice keeps
    // both of its copies, empty files go too, the list stays.
    void moveFiles()
    {
        Harness h;
        h.write("mod/a.txt", "AAAA");
        h.write("mod/empty.bin", "");
        h.write("mod/sub/c.txt", "C");
        PrepareBuild(h.state, h, "data.tob\r\n\r\na.txt\r\nempty.bin\r\na.txt\r\nsub\\c.txt\r\n");
        h.state.MoveFiles = true;
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("outdir/data.tob"),
                 MakeTobArchive({{"a.txt", "AAAA"}, {"empty.bin", ""}, {"a.txt", "AAAA"}, {"sub\\c.txt", "C"}}));
        QCOMPARE(EntriesBelow(h.path("mod")), (QStringList{"data.lst", "sub"}));
    }

    // Built into the list folder from a list that names the old archive: the
    // old archive's bytes go in, and the new archive is not moved away.
    void moveKeepsTheNewArchive()
    {
        Harness h;
        h.write("mod/data.tob", "OLD");
        h.write("mod/a.txt", "A");
        PrepareBuild(h.state, h, "data.tob\r\n\r\ndata.tob\r\na.txt\r\n", QStringLiteral("mod/data.lst"), QStringLiteral("mod"));
        h.state.MoveFiles = true;
        h.box.expect(QStringLiteral("File already exist"), QString(), MsgResult::Yes);
        h.box.expect(kProgram, kDone);
        QCOMPARE(BuildTobArchive(h.state), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("mod/data.tob"), MakeTobArchive({{"data.tob", "OLD"}, {"a.txt", "A"}}));
        QCOMPARE(EntriesBelow(h.path("mod")), (QStringList{"data.lst", "data.tob"}));
    }

    // A build that does not complete leaves the old archive as it was, no
    // temporary file beside it, and every source file in place.
    void keepsOldArchive_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<Outcome>("outcome");

        const QString question = QStringLiteral("File already exist|data.tob already exist\nDo you want to overwrite it?");
        QTest::newRow("No at the question") << "none" << QStringList{question} << Outcome::Cancelled;
        QTest::newRow("file deleted between the passes")
            << "delete" << QStringList{question, "ERROR|Cannot read the file"} << Outcome::Stopped;
        QTest::newRow("file grown between the passes")
            << "grow" << QStringList{question, "ERROR|The file changed while the archive was built"} << Outcome::Stopped;
        QTest::newRow("file shrunk between the passes")
            << "shrink" << QStringList{question, "ERROR|The file changed while the archive was built"} << Outcome::Stopped;
        QTest::newRow("file replaced by a folder between the passes")
            << "folder" << QStringList{question, "ERROR|Cannot read the file"} << Outcome::Stopped;
        QTest::newRow("file too big") << "huge" << QStringList{"File too big|b.txt"} << Outcome::Stopped;
    }

    void keepsOldArchive()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, boxes);
        QFETCH(Outcome, outcome);

        Harness h;
        ActingBox box;
        AppState state(box, h.clock);
        h.write("outdir/data.tob", "OLD ARCHIVE");
        h.write("mod/a.txt", "A");
        h.write("mod/b.txt", "BBBB");
        PrepareBuild(state, h, "data.tob\r\n\r\na.txt\r\nb.txt\r\n");
        state.MoveFiles = true;
        const QString b = h.path("mod/b.txt");
        if (change == QLatin1String("huge"))
            QVERIFY(QFile::resize(b, qint64(1) << 32)); // sparse: costs no room
        box.actOnTitle = QStringLiteral("File already exist");
        box.action = [&] {
            if (change == QLatin1String("delete") || change == QLatin1String("folder"))
                QFile::remove(b);
            if (change == QLatin1String("folder"))
                QDir().mkdir(b);
            if (change == QLatin1String("grow") || change == QLatin1String("shrink"))
                QFile::resize(b, change == QLatin1String("grow") ? 5 : 3);
        };
        // The question is answered Yes unless No is what the row tries.
        for (qsizetype i = 0; i < boxes.size(); ++i) {
            const QString title = boxes.at(i).section(QLatin1Char('|'), 0, 0);
            const bool question = title == QLatin1String("File already exist");
            box.script.expect(title, boxes.at(i).section(QLatin1Char('|'), 1),
                              question && change != QLatin1String("none") ? MsgResult::Yes : MsgResult::No);
        }
        QCOMPARE(BuildTobArchive(state), outcome);
        TOBX_VERIFY_BOXES(box.script);
        for (const Message& m : std::as_const(box.script.shown)) {
            const bool question = m.buttons != MsgButtons::Ok;
            QCOMPARE(m.icon, question ? MsgIcon::Question : MsgIcon::Critical);
            if (question)
                QCOMPARE(m.defaultButton, MsgResult::No);
        }
        QCOMPARE(EntriesBelow(h.path("outdir")), QStringList{"data.tob"});
        QCOMPARE(h.read("outdir/data.tob"), QByteArray("OLD ARCHIVE"));
        QCOMPARE(h.read("mod/a.txt"), QByteArray("A"));
    }
};

QTEST_APPLESS_MAIN(TobBuildTest)
#include "tst_tob_build.moc"
