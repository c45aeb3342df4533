// SPDX-License-Identifier: MIT
// Every writer refuses a symbolic link at the name it writes and on a folder
// level below the chosen folder: nothing lands outside, the link stays as it
// is, the message says why, and a refused run never reports DONE.

#include "RcSamples.h"
#include "RcTestFiles.h"
#include "Samples.h"
#include "TestSupport.h"
#include "TobFixtures.h"
#include "core/Names.h"
#include "rollcage/RcBuild.h"
#include "rollcage/RcExtract.h"
#include "rollcage/RcTweakModel.h"
#include "tob/TobBuild.h"
#include "tob/TobExtract.h"
#include "tob1/Tob1Converter.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {

enum class Writer { TobBuild, RcBuild, Converter, TobList, RcList, TobEntry, RcEntry };
enum class Link { Dangling, ToFile, FolderOnTheWay };

const QByteArray kVictim = "KEEP";
const QString kLinkText = QStringLiteral("symbolic link");

// Where the writer puts its file, below the test folder; with a folder on the
// way the name gains the level "sub".
struct Place {
    QString folder; // the chosen folder
    QByteArray name; // as the list or archive spells it
};

Place placeOf(Writer writer, Link link)
{
    const bool sub = link == Link::FolderOnTheWay;
    switch (writer) {
    case Writer::TobBuild:
        return {"outdir", sub ? "sub\\data.tob" : "data.tob"};
    case Writer::RcBuild:
        return {"out", sub ? "sub\\RC.idx" : "RC.idx"};
    case Writer::Converter:
        return {"pics", "p.jpg"};
    case Writer::TobList:
        return {"out", "data.lst"};
    case Writer::RcList:
        return {"dest", "RC.lst"};
    case Writer::TobEntry:
        return {"out", sub ? "sub\\x.txt" : "x.txt"};
    case Writer::RcEntry:
        return {"dest", "RCIMG.001"};
    }
    return {};
}

// Sets up the writer's inputs and runs it; the boxes it should show before it
// refuses are scripted here.
Outcome runWriter(Writer writer, Harness& h, const Place& place)
{
    RcTweakModel tweaks;
    switch (writer) {
    case Writer::TobBuild:
        h.write("mod/a.txt", "A");
        PrepareBuild(h.state, h, place.name + "\r\n\r\na.txt\r\n", QStringLiteral("mod/data.lst"), place.folder);
        return BuildTobArchive(h.state);
    case Writer::RcBuild:
        setUpBuild(h, h.write("mod/RC.lst", place.name + "\r\n\r\n-, 0, -, RCIMG.000, 0, 4, 0, 0, -, -\r\n"),
                   place.folder);
        return BuildRcIndex(h.state);
    case Writer::Converter:
        return ConvertTob1Picture(h.state, h.write("pics/p.toj", samples::MakeToj(300, 1)), QStringLiteral("p.toj"));
    case Writer::TobList:
        PrepareExtraction(h, samples::MakeTobArchive({{"a.txt", "1"}}), QStringLiteral("src/data.tob"), place.folder);
        return ExtractTobArchive(h.state);
    case Writer::TobEntry:
        PrepareExtraction(h, samples::MakeTobArchive({{place.name, "BAD!"}, {"after.txt", "ok"}}),
                          QStringLiteral("src/data.tob"), place.folder);
        return ExtractTobArchive(h.state);
    case Writer::RcList:
    case Writer::RcEntry:
        setUpExtract(h, writeRcPair(h, 3, 4096, 7).indexPath, place.folder);
        return ExtractRcArchive(h.state, tweaks);
    }
    return Outcome::Nothing;
}

} // namespace

class OutputLinksTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void linksRefused_data()
    {
        QTest::addColumn<Writer>("writer");
        QTest::addColumn<Link>("link");

        const QList<std::pair<const char*, Writer>> writers{
            {"Tobrava II build", Writer::TobBuild}, {"Rollcage build", Writer::RcBuild},
            {"converter", Writer::Converter},       {"Tobrava II list", Writer::TobList},
            {"Rollcage list", Writer::RcList},      {"Tobrava II entry", Writer::TobEntry},
            {"Rollcage entry", Writer::RcEntry}};
        for (const auto& [writerName, writer] : writers) {
            QTest::addRow("%s, dangling link", writerName) << writer << Link::Dangling;
            QTest::addRow("%s, link to a file", writerName) << writer << Link::ToFile;
            // The converter, the lists and the Rollcage entries write plain names
            // into their folder: there is no level on the way.
            if (placeOf(writer, Link::FolderOnTheWay).name.contains('\\'))
                QTest::addRow("%s, linked folder on the way", writerName) << writer << Link::FolderOnTheWay;
        }
    }

    void linksRefused()
    {
        QFETCH(Writer, writer);
        QFETCH(Link, link);

        Harness h;
        h.write("outside/victim", kVictim);
        const Place place = placeOf(writer, link);
        QDir().mkpath(h.path(place.folder));
        const QString linkPath = place.folder + QLatin1Char('/')
            + (link == Link::FolderOnTheWay ? QStringLiteral("sub") : NameToPath(place.name));
        const QString linkTarget = link == Link::Dangling ? QStringLiteral("outside/new")
            : link == Link::ToFile                      ? QStringLiteral("outside/victim")
                                                        : QStringLiteral("outside");
        QVERIFY(QFile::link(h.path(linkTarget), h.path(linkPath)));

        // A list whose first line names a folder level does not match its own name.
        if ((writer == Writer::TobBuild || writer == Writer::RcBuild) && link == Link::FolderOnTheWay)
            h.box.expect(QStringLiteral("Just info"), QString());
        const bool entryOfArchive = writer == Writer::TobEntry;
        h.box.expect(entryOfArchive ? QString() : QStringLiteral("ERROR"), kLinkText);
        if (entryOfArchive) // refused entries are named, the others extracted
            h.box.expect(QString(), QStringLiteral("EXTRACT DONE ("));

        const Outcome outcome = runWriter(writer, h, place);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(outcome, entryOfArchive ? Outcome::Done : Outcome::Stopped);
        QCOMPARE(EntriesBelow(h.path("outside")), QStringList{"victim"});
        QCOMPARE(h.read("outside/victim"), kVictim);
        QVERIFY(QFileInfo(h.path(linkPath)).isSymLink());
        QCOMPARE(QFileInfo(h.path(linkPath)).symLinkTarget(), h.path(linkTarget));
        if (entryOfArchive) {
            QVERIFY(h.box.shown.first().text.contains(NameToText(place.name)));
            QCOMPARE(h.read(place.folder + "/after.txt"), QByteArray("ok"));
        }
    }
};

QTEST_GUILESS_MAIN(OutputLinksTest)
#include "tst_output_links.moc"
