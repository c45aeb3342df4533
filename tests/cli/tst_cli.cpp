// SPDX-License-Identifier: MIT
// tobx as a user runs it: arguments, printed boxes, answers and exit statuses.
#include "Samples.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

using namespace tobx::samples;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
};

Run runTobx(const QStringList& args, const QString& workingDir = QString())
{
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(TOBX_BIN), args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

// tobx with `input` on its standard input, a pipe.
Run runTobxWithInput(const QStringList& args, const QByteArray& input)
{
    QProcess process;
    process.start(QStringLiteral(TOBX_BIN), args);
    if (!process.waitForStarted())
        return {};
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void usageErrors_data();
    void usageErrors();
    void helpAndVersion();
    void detect_data();
    void detect();
    void roundTrip();
    void answers_data();
    void answers();
    void wrongCommandForFile();
    void pipedAnswers_data();
    void pipedAnswers();
    void progressLine_data();
    void progressLine();
    void interruptCancels();
};

void CliTest::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("no command") << QStringList{} << "expected a command";
    QTest::newRow("unknown command") << QStringList{"explode", "x"} << "unknown command";
    QTest::newRow("unknown option") << QStringList{"extract", "x", "--fast"} << "Unknown option";
    QTest::newRow("bad answer") << QStringList{"extract", "x", "--answer", "maybe"} << "--answer";
    QTest::newRow("missing dest") << QStringList{"extract", "x", "--dest", "/no/such/folder"} << "no such folder";
    QTest::newRow("move on extract") << QStringList{"extract", "x", "--move"} << "--move does not apply";
    QTest::newRow("tweaks on build") << QStringList{"build", "x", "--tweaks"} << "does not apply";
    QTest::newRow("unknown track") << QStringList{"extract", "x", "--track", "moon"} << "--track takes one of";
    QTest::newRow("semi-full with track") << QStringList{"extract", "x", "--track", "ida-447", "--semi-full"} << "excludes --track";
    QTest::newRow("credits without semi-full") << QStringList{"extract", "x", "--credits-loading"} << "needs --semi-full";
    QTest::newRow("loading without semi-full") << QStringList{"extract", "x", "--loading", "main"} << "needs --semi-full";
    QTest::newRow("loading with credits") << QStringList{"extract", "x", "--semi-full", "--loading", "main", "--credits-loading"} << "no effect";
}

void CliTest::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    const Run run = runTobx(args);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
}

void CliTest::helpAndVersion()
{
    const Run help = runTobx({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains(QStringLiteral("tobx extract SOURCE")));
    const Run version = runTobx({QStringLiteral("--version")});
    QCOMPARE(version.status, 0);
    QVERIFY(version.out.startsWith(QStringLiteral("tobx ")));
}

void CliTest::detect_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed");
    QTest::newRow("archive") << "data.tob" << MakeTobArchive({{"a.txt", "hello"}}) << 0 << "1 - TOBrava II archive\n";
    QTest::newRow("list") << "data.lst" << MakeTobList("data.tob", {"a.txt"}) << 0 << "11 - Tobrava II LST\n";
    QTest::newRow("unknown") << "notes.txt" << QByteArray("just some text") << 1 << "0 - Unknown - not recognized\n";
}

void CliTest::detect()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, printed);
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath(name), bytes));
    const Run run = runTobx({QStringLiteral("detect"), dir.filePath(name)});
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, printed);
}

void CliTest::roundTrip()
{
    QTemporaryDir dir;
    const QByteArray archive = MakeTobArchive(NestedEntries(60, 3000, 11));
    QVERIFY(WriteFile(dir.filePath("game/data.tob"), archive));
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    QDir(dir.path()).mkpath(QStringLiteral("rebuilt"));

    const Run extract = runTobx({QStringLiteral("extract"), dir.filePath("game/data.tob"), QStringLiteral("--dest"), dir.filePath("out")});
    QCOMPARE(extract.status, 0);
    QVERIFY2(extract.out.contains(QStringLiteral("TobExtractor: EXTRACT DONE (")), qPrintable(extract.out + extract.err));

    // The build runs in another folder: --dest and the list's folder decide, not the current folder.
    const Run build = runTobx({QStringLiteral("build"), dir.filePath("out/data.lst"), QStringLiteral("--dest"), dir.filePath("rebuilt")},
                           dir.filePath("game"));
    QCOMPARE(build.status, 0);
    QVERIFY2(build.out.contains(QStringLiteral("TobExtractor: BUILD DONE (")), qPrintable(build.out + build.err));
    QCOMPARE(readFile(dir.filePath("rebuilt/data.tob")), archive);
}

void CliTest::answers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes replaces") << "yes" << 0 << true;
    QTest::newRow("no keeps") << "no" << 3 << false;
    QTest::newRow("cancel counts as no") << "cancel" << 3 << false;
}

void CliTest::answers()
{
    // Building over an existing archive asks "File already exist" (Yes/No).
    QFETCH(QString, answer);
    QFETCH(int, status);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath("a.txt"), "new content"));
    QVERIFY(WriteFile(dir.filePath("data.lst"), MakeTobList("data.tob", {"a.txt"})));
    QVERIFY(WriteFile(dir.filePath("data.tob"), "old archive"));
    const Run run = runTobx({QStringLiteral("build"), dir.filePath("data.lst"), QStringLiteral("--dest"), dir.path(),
                          QStringLiteral("--answer"), answer});
    QCOMPARE(run.status, status);
    QVERIFY2(run.out.contains(QStringLiteral("File already exist: data.tob already exist\nDo you want to overwrite it?\n[Yes/No, default No]")),
             qPrintable(run.out));
    QCOMPARE(readFile(dir.filePath("data.tob")) == MakeTobArchive({{"a.txt", "new content"}}), replaced);
}

void CliTest::wrongCommandForFile()
{
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath("data.lst"), MakeTobList("data.tob", {"a.txt"})));
    const Run run = runTobx({QStringLiteral("extract"), dir.filePath("data.lst"), QStringLiteral("--dest"), dir.path()});
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(QStringLiteral("use tobx build")), qPrintable(run.err));
    QVERIFY(!QFile::exists(dir.filePath("data.tob")));
}

namespace {

const QList<tobx::samples::TobEntry> kThree{{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}};

// An archive of three entries in src/ and an earlier extraction in out/, each
// file changed since.
void prepareReExtraction(const QTemporaryDir& dir)
{
    QVERIFY(WriteFile(dir.filePath("src/data.tob"), MakeTobArchive(kThree)));
    for (const auto& entry : kThree)
        QVERIFY(WriteFile(dir.filePath("out/" + QString::fromLatin1(entry.name)), "old " + entry.name));
}

} // namespace

void CliTest::pipedAnswers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("retries"); // lines that were no answer
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("replaced"); // per entry: r replaced, k kept
    QTest::newRow("yes to all asks once") << QByteArray("yes to all\n") << 1 << 0 << 0 << "rrr";
    QTest::newRow("no to all asks once") << QByteArray("no to all\n") << 1 << 0 << 0 << "kkk";
    QTest::newRow("case does not count") << QByteArray("Yes To ALL\r\n") << 1 << 0 << 0 << "rrr";
    QTest::newRow("no, yes, cancel") << QByteArray("no\nyes\ncancel\n") << 3 << 0 << 3 << "krk";
    QTest::newRow("end of input is the default") << QByteArray() << 3 << 0 << 0 << "kkk";
    QTest::newRow("unknown lines ask again") << QByteArray("maybe\nsure\nyes\n") << 3 << 2 << 0 << "rkk";
    QTest::newRow("too many unknown lines give the default")
        << QByteArray("a\nb\nc\nyes\n") << 3 << 3 << 0 << "krk";
}

void CliTest::pipedAnswers()
{
    QFETCH(QByteArray, input);
    QFETCH(int, questions);
    QFETCH(int, retries);
    QFETCH(int, status);
    QFETCH(QString, replaced);
    QTemporaryDir dir;
    prepareReExtraction(dir);
    const Run run = runTobxWithInput({QStringLiteral("extract"), dir.filePath("src/data.tob"), QStringLiteral("--dest"),
                                      dir.filePath("out")},
                                     input);
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.count(QStringLiteral("[Yes/No/Cancel/Yes to All/No to All, default No]")), questions);
    QCOMPARE(run.out.count(QStringLiteral("Answer Yes/No/Cancel/Yes to All/No to All (empty for No).")), retries);
    QCOMPARE(run.out.contains(QStringLiteral("EXTRACT DONE (")), status == 0);
    for (int i = 0; i < kThree.size(); ++i) {
        const QByteArray& name = kThree[i].name;
        QCOMPARE(readFile(dir.filePath("out/" + QString::fromLatin1(name))),
                 replaced.at(i) == QLatin1Char('r') ? kThree[i].content : "old " + name);
    }
}

void CliTest::progressLine_data()
{
    QTest::addColumn<bool>("asked");
    QTest::newRow("--progress") << true;
    QTest::newRow("not on a terminal, not asked") << false;
}

void CliTest::progressLine()
{
    QFETCH(bool, asked);
    QTemporaryDir dir;
    QVERIFY(WriteFile(dir.filePath("data.tob"), MakeTobArchive(NestedEntries(40, 3000, 5))));
    QDir(dir.path()).mkpath(QStringLiteral("out"));
    QStringList args{QStringLiteral("extract"), dir.filePath("data.tob"), QStringLiteral("--dest"), dir.filePath("out")};
    if (asked)
        args.append(QStringLiteral("--progress"));
    const Run run = runTobx(args);
    QCOMPARE(run.status, 0);
    // Scripts read the messages on stdout as before.
    QVERIFY2(!run.out.contains(QStringLiteral("entries")), qPrintable(run.out));
    QVERIFY2(run.out.startsWith(QStringLiteral("TobExtractor: EXTRACT DONE (")), qPrintable(run.out));
    if (!asked) {
        QCOMPARE(run.err, QString());
        return;
    }
    QVERIFY2(run.err.startsWith(QLatin1Char('\r')), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("100% 40/40 entries, ")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("  0% 0/40 entries")), qPrintable(run.err));
    // The line is ended before the DONE message goes out.
    QVERIFY(run.err.endsWith(QLatin1Char('\n')));
}

void CliTest::interruptCancels()
{
    // tobx waits at the second question for a line that never comes; Ctrl+C
    // answers it Cancel: the entry before stays, exit status 3.
    QTemporaryDir dir;
    prepareReExtraction(dir);
    QProcess process;
    process.start(QStringLiteral(TOBX_BIN), {QStringLiteral("extract"), dir.filePath("src/data.tob"), QStringLiteral("--dest"),
                                             dir.filePath("out")});
    QVERIFY(process.waitForStarted());
    process.write("yes\n");
    QByteArray out;
    QElapsedTimer waited;
    waited.start();
    while (out.count("default No]") < 2 && waited.elapsed() < 30000) {
        process.waitForReadyRead(100);
        out += process.readAllStandardOutput();
    }
    QCOMPARE(out.count("default No]"), 2);
    ::kill(pid_t(process.processId()), SIGINT);
    QVERIFY(process.waitForFinished(30000));
    out += process.readAllStandardOutput();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 3);
    QVERIFY2(out.endsWith("> Cancel\n"), out.constData());
    QCOMPARE(readFile(dir.filePath("out/a.txt")), QByteArray("new a"));
    QCOMPARE(readFile(dir.filePath("out/b.txt")), QByteArray("old b.txt"));
    QCOMPARE(readFile(dir.filePath("out/c.txt")), QByteArray("old c.txt"));
}

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
