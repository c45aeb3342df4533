// SPDX-License-Identifier: MIT
// The Go buttons: the dispatch table by source type and pane, the wait
// pointer and the start folder restored however a run ends, errors that
// escape an operation, the result lists, and one request from end to end.
#include "RcSamples.h"
#include "Samples.h"
#include "UiTestSupport.h"
#include "core/Names.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <stdexcept>

using namespace tobx;
using namespace tobx::test;

namespace {

const QByteArray kJfif = QByteArray::fromHex("FFD8FFE000104A464946");

QByteArray padded(const QByteArray& head)
{
    return head + QByteArray(qMax<qsizetype>(0, 16 - head.size()), 'z');
}

// Passes every box on to the scripted one, noting whether the wait pointer
// was up meanwhile; it can also move the current folder away, as operations
// may, and throw instead of answering.
class ProbingMessageBox final : public MessageBox {
public:
    MessageBox* inner = nullptr;
    QList<bool> waitPointer;
    QString wanderTo;  // made the current folder at every box when set
    int throwAt = -1;  // the box (from 0) that throws
    bool throwStd = false;

    MsgResult show(const Message& message) override
    {
        const QCursor* cursor = QApplication::overrideCursor();
        waitPointer.append(cursor && cursor->shape() == Qt::WaitCursor);
        if (!wanderTo.isEmpty())
            QDir::setCurrent(wanderTo);
        if (waitPointer.size() - 1 == throwAt) {
            if (throwStd)
                throw std::runtime_error("disk on fire");
            throw 42;
        }
        return inner->show(message);
    }
};

struct Expected {
    QString title;
    QString text;
};

} // namespace

Q_DECLARE_METATYPE(QList<Expected>)

class DispatchTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dispatchTable_data();
    void dispatchTable();
    void escapingErrors_data();
    void escapingErrors();
    void resultListMirror_data();
    void resultListMirror();
    void extractCopyBuild();
    void listOnlyFeedback();
};

void DispatchTest::dispatchTable_data()
{
    QTest::addColumn<int>("pane");
    QTest::addColumn<QString>("name"); // "" for no source chosen
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<Expected>>("boxes");
    QTest::addColumn<QString>("status"); // the pane's line of feedback afterwards

    const Expected unknown{QStringLiteral("TobExtractor"), QStringLiteral("Unknown source file format")};
    const Expected sizeError{QStringLiteral("ERROR"), QStringLiteral("File not found or file is empty or wrong file size.")};
    const Expected notYet{QStringLiteral("TobExtractor"), QStringLiteral("Not implemented yet!")};

    QTest::newRow("unknown file") << 0 << "notes.dat" << padded("hello") << QList<Expected>{unknown} << "Unknown source file format";
    QTest::newRow("unknown file, build pane") << 1 << "notes.dat" << padded("hello") << QList<Expected>{unknown} << "Unknown source file format";
    QTest::newRow("fewer than ten bytes") << 0 << "tiny.tob" << QByteArray("VXBG1") << QList<Expected>{sizeError, unknown} << "Unknown source file format";
    QTest::newRow("nothing chosen") << 1 << "" << QByteArray() << QList<Expected>{sizeError, unknown} << "Unknown source file format";
    QTest::newRow("img without GT20") << 0 << "game.img" << padded("GT21") << QList<Expected>{unknown} << "Unknown source file format";
    QTest::newRow("img with GT20") << 0 << "game.img" << padded("GT20") << QList<Expected>{notYet} << "Extraction stopped (2 - Rollcage archive IMaGe)";
    QTest::newRow("Tobrava I video") << 0 << "intro.tob" << padded("BIK") << QList<Expected>{notYet} << "Extraction stopped (5 - TObrava I Bik)";
    QTest::newRow("Tobrava I picture") << 0 << "title.toj" << padded(QByteArray(1, '\0')) << QList<Expected>{notYet} << "Extraction stopped (4 - TObrava I Jpg)";
    QTest::newRow("bik in build pane") << 1 << "intro.bik" << padded("BIK") << QList<Expected>{notYet} << "Build stopped (15 - BIK)";
    QTest::newRow("jpg in build pane") << 1 << "photo.jpg" << padded(kJfif) << QList<Expected>{notYet} << "Build stopped (14 - JPG)";
    QTest::newRow("tob list in extract pane") << 0 << "data.lst" << QByteArray("data.tob\r\n\r\na.bin\r\n") << QList<Expected>{} << "Nothing to do in this pane for 11 - Tobrava II LST";
    QTest::newRow("rollcage list in extract pane") << 0 << "game.lst" << QByteArray("game.idx\r\n\r\nx\r\n") << QList<Expected>{} << "Nothing to do in this pane for 12 - Rollcage LST";
    QTest::newRow("archive in build pane") << 1 << "data.tob" << padded("VXBG") << QList<Expected>{} << "Nothing to do in this pane for 1 - TOBrava II archive";
    QTest::newRow("jpg in extract pane") << 0 << "photo.jpg" << padded(kJfif) << QList<Expected>{} << "Nothing to do in this pane for 14 - JPG";
}

void DispatchTest::dispatchTable()
{
    QFETCH(int, pane);
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QList<Expected>, boxes);
    QFETCH(QString, status);
    ProbingMessageBox probe;
    WindowHarness w(&probe);
    probe.inner = &w.h.box;
    QVERIFY(QDir().mkpath(w.path("elsewhere")));
    probe.wanderTo = w.path("elsewhere");
    if (!name.isEmpty())
        w.selectSource(pane, w.write("src/" + name, bytes));
    // A line left from an earlier run.
    w.state().lstSrcFiles[pane].append(QStringLiteral("earlier"));
    QCoreApplication::processEvents();
    auto* list = w.control<QListWidget>("lstSrcFiles_" + QString::number(pane));
    QCOMPARE(list->count(), 1);

    for (const Expected& box : boxes)
        w.h.box.expect(box.title, box.text);
    w.click("cmdGo_" + QString::number(pane));
    TOBX_VERIFY_BOXES(w.h.box);
    for (qsizetype i = 0; i < boxes.size(); ++i)
        QCOMPARE(w.h.box.shown.at(i).text, boxes.at(i).text);
    if (!boxes.isEmpty() && boxes.constLast().text.startsWith(QLatin1String("Unknown")))
        QCOMPARE(w.h.box.shown.constLast().icon, MsgIcon::Exclamation);
    if (!boxes.isEmpty() && boxes.constLast().text.startsWith(QLatin1String("Not implemented")))
        QCOMPARE(w.h.box.shown.constLast().icon, MsgIcon::None);

    // Every box came under the wait pointer; afterwards the pointer and the
    // start folder are back, and the list was emptied.
    QCOMPARE(probe.waitPointer, QList<bool>(boxes.size(), true));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QDir::currentPath(), w.startDir());
    QCOMPARE(list->count(), 0);
    QCOMPARE(w.state().lstSrcFiles[pane].size(), 0);
    // Every run leaves its line of feedback, also where no message came.
    QCOMPARE(w.window->statusText(pane), status);
    QCOMPARE(w.window->statusText(1 - pane), QString());
}

void DispatchTest::escapingErrors_data()
{
    QTest::addColumn<bool>("standard");
    QTest::addColumn<QString>("reason");
    QTest::newRow("std::exception") << true << "disk on fire";
    QTest::newRow("anything else") << false << "unknown error";
}

void DispatchTest::escapingErrors()
{
    QFETCH(bool, standard);
    QFETCH(QString, reason);
    ProbingMessageBox probe;
    WindowHarness w(&probe);
    probe.inner = &w.h.box;
    QVERIFY(QDir().mkpath(w.path("elsewhere")));
    probe.wanderTo = w.path("elsewhere");
    probe.throwAt = 0; // the detection's first box throws
    probe.throwStd = standard;
    w.selectSource(ExtractPane, w.write("src/notes.dat", padded("hello")));

    w.h.box.expect(QStringLiteral("ERROR"), reason);
    w.click("cmdGo_0");
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(w.h.box.shown.constFirst().icon, MsgIcon::Critical);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QDir::currentPath(), w.startDir());

    // The window carries on: the next run works as usual.
    w.h.box.expect(QStringLiteral("TobExtractor"), QStringLiteral("Unknown source file format"));
    w.click("cmdGo_0");
    TOBX_VERIFY_BOXES(w.h.box);
    QVERIFY(!QApplication::overrideCursor());
}

void DispatchTest::resultListMirror_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("every");    // every n-th line is highlighted, 0 none
    QTest::addColumn<bool>("flicker"); // each highlight is set, cleared and set again
    QTest::newRow("20000 lines, all highlighted the extraction's way") << 20000 << 1 << true;
    QTest::newRow("20000 lines, every third highlighted") << 20000 << 3 << false;
    QTest::newRow("lines without highlight") << 50 << 0 << false;
    QTest::newRow("no lines") << 0 << 0 << false;
}

void DispatchTest::resultListMirror()
{
    QFETCH(int, lines);
    QFETCH(int, every);
    QFETCH(bool, flicker);
    WindowHarness w;
    ResultList& result = w.state().lstSrcFiles[ExtractPane];
    result.append(QStringLiteral("from an earlier run"));
    result.clear();
    QStringList texts;
    QList<int> highlighted;
    for (int i = 0; i < lines; ++i) {
        texts.append(QStringLiteral("folder\\entry%1.bin").arg(i));
        const qsizetype row = result.append(texts.constLast());
        if (every > 0 && i % every == 0) {
            result.setSelected(row, true);
            if (flicker) {
                result.setSelected(row, false);
                result.setSelected(row, true);
            }
            highlighted.append(i);
        }
    }
    QCoreApplication::processEvents();

    const auto* list = w.control<QListWidget>("lstSrcFiles_0");
    QCOMPARE(list->count(), lines);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->text());
    QCOMPARE(shown, texts);
    QList<int> selected;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
        selected.append(index.row());
    std::sort(selected.begin(), selected.end());
    QCOMPARE(selected, highlighted);
}

void DispatchTest::extractCopyBuild()
{
    WindowHarness w;
    QList<samples::TobEntry> entries = samples::NestedEntries(12, 300, 21);
    const QString archive = w.write("games/data.tob", samples::MakeTobArchive(entries));
    QVERIFY(QDir().mkpath(w.path("work")));
    QVERIFY(w.openFolder(ExtractPane, w.path("work")));
    w.selectSource(ExtractPane, archive);
    QCOMPARE(w.dstPathText(ExtractPane), w.path("work/data.lst"));

    w.h.box.expect(QStringLiteral("TobExtractor"), QStringLiteral("EXTRACT DONE ("));
    w.click("cmdGo_0");
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(w.control<QListWidget>("lstSrcFiles_0")->count(), entries.size());
    QCOMPARE(w.window->statusText(ExtractPane), QStringLiteral("data.lst written, %1 entries listed").arg(entries.size()));
    // The folders the extraction made are listed at once.
    const QStringList made = QDir(w.path("work")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QVERIFY(!made.isEmpty());
    const auto* folders = w.control<QListWidget>(QStringLiteral("dirDst_0"));
    QStringList listed;
    for (int row = 0; row < folders->count(); ++row)
        listed.append(folders->item(row)->text());
    for (const QString& folder : made)
        QVERIFY2(listed.contains(folder), qPrintable(listed.join(QLatin1Char(' '))));

    w.click("cmdCopyPaths_1"); // "=&>"
    QCOMPARE(w.srcPathText(BuildPane), w.path("work/data.lst"));
    QCOMPARE(w.dstPathText(BuildPane), archive);

    // The modder replaces one extracted file.
    samples::TobEntry& changed = entries[5];
    changed.content = QByteArray("a new texture, longer than before: ") + QByteArray(400, 'x');
    w.write("work/" + NameToPath(changed.name), changed.content);

    w.h.box.expect(QStringLiteral("File already exist"), QStringLiteral("Do you want to overwrite it?"), MsgResult::Yes);
    w.h.box.expect(QStringLiteral("TobExtractor"), QStringLiteral("BUILD DONE ("));
    w.click("cmdGo_1");
    TOBX_VERIFY_BOXES(w.h.box);
    QCOMPARE(w.read("games/data.tob"), samples::MakeTobArchive(entries));
    QCOMPARE(w.window->statusText(BuildPane), QStringLiteral("data.tob written"));
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QDir::currentPath(), w.startDir());
}

// A Rollcage run that writes only the list ends without a message of its
// own; its line of feedback says what it wrote.
void DispatchTest::listOnlyFeedback()
{
    WindowHarness w;
    const QString index = w.path("games/rc.idx");
    QVERIFY(QDir().mkpath(w.path("games")));
    QVERIFY(samples::WriteRcPair(index, 20, 4000, 5));
    w.selectSource(ExtractPane, index);
    w.click("chkCreateLstOnly");
    w.click("cmdGo_0");
    TOBX_VERIFY_BOXES(w.h.box);
    QVERIFY(QFileInfo::exists(w.path("rc.lst")));
    QCOMPARE(w.window->statusText(ExtractPane), QStringLiteral("rc.lst written (list only)"));
}

QTEST_MAIN(DispatchTest)
#include "tst_ui_dispatch.moc"
