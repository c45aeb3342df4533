// SPDX-License-Identifier: MIT
#include "Tobx.h"

#include "ConsoleMessageBox.h"
#include "ConsoleProgress.h"
#include "core/FileUtils.h"
#include "detect/Dispatch.h"
#include "detect/QualifySrcFile.h"
#include "rollcage/RcTweakModel.h"
#include "tob1/Tob1Converter.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <optional>

#include <csignal>
#include <signal.h>
#include <unistd.h>

namespace tobx {

namespace {

enum Exit { ExitDone = 0, ExitStopped = 1, ExitUsage = 2, ExitCancelled = 3 };

const char* const kUsage =
    "Usage:\n"
    "  tobx extract SOURCE [--dest DIR] [--list-only] [--answer ask|yes|no|cancel] [--progress] [tweaks]\n"
    "  tobx build LIST [--dest DIR] [--move] [--answer ask|yes|no|cancel] [--progress]\n"
    "  tobx convert FILE [--answer ask|yes|no|cancel] [--progress]\n"
    "  tobx detect FILE\n"
    "  tobx --help | --version\n"
    "\n"
    "Rollcage Stage II tweaks for extract (each ticks \"Use Rc2 Tweaks\"):\n"
    "  --tweaks                                      \"Use Rc2 Tweaks\" only\n"
    "  --track power-surge|full-force|ida-447|star-dock\n"
    "                                                play the track as Ventura: Knock Down\n"
    "  --scramble introduction|flipflop|endzone      scramble track instead of Outworld: Full Force\n"
    "  --semi-full [--loading demo-info|main]        convert the demo to a semi full version\n"
    "  --credits-loading                             credits pictures as loading (needs --semi-full)\n"
    "\n"
    "With --answer ask (the default) questions are answered on the terminal or, when standard\n"
    "input is not one, by its lines: yes, no, cancel, yes to all, no to all; at the end of the\n"
    "input a question takes its default button.\n"
    "--progress shows how far the run is on standard error; it is shown anyway when standard\n"
    "error is a terminal. Ctrl+C stops the run at the next entry, as Cancel would.\n"
    "\n"
    "Exit status: 0 done, 1 a message ended the run, 2 usage error, 3 the answer or Ctrl+C ended the run.\n";

// Ctrl+C asks the run to stop at its next entry; a second one ends tobx at once.
CancelFlag g_interrupted;

void onInterrupt(int)
{
    g_interrupted.request();
    std::signal(SIGINT, SIG_DFL);
}

// For as long as an operation runs. Without SA_RESTART a question waiting for
// input returns at once, and is answered Cancel.
class InterruptHandler {
public:
    InterruptHandler()
    {
        struct sigaction action {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptHandler() { sigaction(SIGINT, &m_previous, nullptr); }
    InterruptHandler(const InterruptHandler&) = delete;
    InterruptHandler& operator=(const InterruptHandler&) = delete;

private:
    struct sigaction m_previous {};
};

void print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

struct Options {
    QCommandLineOption dest{QStringLiteral("dest"), QString(), QStringLiteral("DIR")};
    QCommandLineOption listOnly{QStringLiteral("list-only")};
    QCommandLineOption move{QStringLiteral("move")};
    QCommandLineOption answer{QStringLiteral("answer"), QString(), QStringLiteral("ANSWER")};
    QCommandLineOption progress{QStringLiteral("progress")};
    QCommandLineOption tweaks{QStringLiteral("tweaks")};
    QCommandLineOption track{QStringLiteral("track"), QString(), QStringLiteral("TRACK")};
    QCommandLineOption scramble{QStringLiteral("scramble"), QString(), QStringLiteral("TRACK")};
    QCommandLineOption semiFull{QStringLiteral("semi-full")};
    QCommandLineOption loading{QStringLiteral("loading"), QString(), QStringLiteral("SCREEN")};
    QCommandLineOption creditsLoading{QStringLiteral("credits-loading")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption version{QStringLiteral("version")};

    QList<QCommandLineOption> all() const
    {
        return {dest, listOnly, move, answer, progress, tweaks, track, scramble, semiFull, loading, creditsLoading, help, version};
    }
};

struct UsageError {
    QString text;
};

// Picks the 1-based option whose name is given, or throws a usage error.
int optionIndex(const QString& value, const QStringList& names, const QString& flag)
{
    const qsizetype i = names.indexOf(value.toLower());
    if (i < 0)
        throw UsageError{QStringLiteral("--%1 takes one of: %2").arg(flag, names.join(QStringLiteral(", ")))};
    return int(i) + 1;
}

// Ticks "Use Rc2 Tweaks" and makes the clicks the user would make in the
// dialog, refusing what the dialog would not allow.
void applyTweaks(const QCommandLineParser& parser, const Options& o, AppState& state, RcTweakModel& model)
{
    const bool any = parser.isSet(o.tweaks) || parser.isSet(o.track) || parser.isSet(o.scramble)
        || parser.isSet(o.semiFull) || parser.isSet(o.loading) || parser.isSet(o.creditsLoading);
    if (!any)
        return;
    state.UseTweaks = true;
    state.RcVersion = Rc2DemoPC;
    model.open(state.RcVersion);
    const auto tick = [&](int index, const QString& flag, const QString& why) {
        if (!model.enabled(index))
            throw UsageError{QStringLiteral("--%1 cannot be used here: %2").arg(flag, why)};
        model.click(index);
    };
    if (parser.isSet(o.track)) {
        const int track = optionIndex(parser.value(o.track),
                                      {QStringLiteral("power-surge"), QStringLiteral("full-force"),
                                       QStringLiteral("ida-447"), QStringLiteral("star-dock")},
                                      QStringLiteral("track"));
        tick(1, QStringLiteral("track"), QString());
        model.select(1, track);
    }
    if (parser.isSet(o.scramble)) {
        const int scramble = optionIndex(parser.value(o.scramble),
                                         {QStringLiteral("introduction"), QStringLiteral("flipflop"),
                                          QStringLiteral("endzone")},
                                         QStringLiteral("scramble"));
        tick(2, QStringLiteral("scramble"), QString());
        model.select(2, scramble);
    }
    if (parser.isSet(o.semiFull))
        tick(3, QStringLiteral("semi-full"),
             QStringLiteral("the semi full conversion excludes --track and --scramble"));
    if (parser.isSet(o.loading)) {
        if (!parser.isSet(o.semiFull))
            throw UsageError{QStringLiteral("--loading needs --semi-full")};
        if (parser.isSet(o.creditsLoading))
            throw UsageError{QStringLiteral("--loading has no effect with --credits-loading: the credits pictures take the loading screens")};
        const int screen = optionIndex(parser.value(o.loading),
                                       {QStringLiteral("demo-info"), QStringLiteral("main")},
                                       QStringLiteral("loading"));
        model.select(3, screen);
    }
    if (parser.isSet(o.creditsLoading))
        tick(4, QStringLiteral("credits-loading"), QStringLiteral("it needs --semi-full"));
}

void rejectOptions(const QCommandLineParser& parser, const QList<QCommandLineOption>& options, const QString& command)
{
    for (const QCommandLineOption& option : options)
        if (parser.isSet(option))
            throw UsageError{QStringLiteral("--%1 does not apply to %2").arg(option.names().constLast(), command)};
}

int exitFor(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done:
        return ExitDone;
    case Outcome::Cancelled:
        return ExitCancelled;
    case Outcome::Stopped:
    case Outcome::Nothing:
        return ExitStopped;
    }
    return ExitStopped;
}

QString destinationFolder(const QCommandLineParser& parser, const Options& o)
{
    const QString dir = parser.isSet(o.dest) ? parser.value(o.dest) : QDir::currentPath();
    const QFileInfo info(dir);
    if (!info.isDir())
        throw UsageError{QStringLiteral("--dest: no such folder: ") + dir};
    return QDir::cleanPath(info.absoluteFilePath());
}

// Where the window does nothing, say which command fits.
QString hintFor(quint8 type)
{
    switch (type) {
    case TypeTobArchive:
    case TypeRcIndex:
        return QStringLiteral("this is an archive to extract: use tobx extract");
    case TypeTobList:
    case TypeRcList:
        return QStringLiteral("this is a list file to build from: use tobx build");
    default:
        return QStringLiteral("no command handles this file");
    }
}

int runPane(const QCommandLineParser& parser, const Options& o, AppState& state, int pane,
            const QString& file, RcTweakModel& tweaks, std::FILE* err)
{
    const QFileInfo info(file);
    SetDstFolder(state, pane, destinationFolder(parser, o));
    SelectSourceFile(state, pane, info.absoluteFilePath(), info.fileName());
    const PaneRun run = RunPaneOperation(state, pane, tweaks);
    if (run.outcome == Outcome::Nothing)
        print(err, QStringLiteral("tobx: %1 (%2)\n").arg(hintFor(run.type), FTypeLegendEntry(run.type)));
    return exitFor(run.outcome);
}

int run(const QStringList& arguments, std::FILE* out, std::FILE* err, std::FILE* in)
{
    Options o;
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(o.all());
    if (!parser.parse(arguments))
        throw UsageError{parser.errorText()};
    if (parser.isSet(o.help)) {
        print(out, QString::fromLatin1(kUsage));
        return ExitDone;
    }
    if (parser.isSet(o.version)) {
        print(out, QStringLiteral("tobx %1.%2.%3\n").arg(TOBX_VERSION_MAJOR).arg(TOBX_VERSION_MINOR).arg(TOBX_VERSION_PATCH));
        return ExitDone;
    }
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2)
        throw UsageError{QStringLiteral("expected a command and one file")};
    const QString command = args.at(0);
    const QString file = args.at(1);

    CliAnswer answer = CliAnswer::Ask;
    if (parser.isSet(o.answer)) {
        const std::optional<CliAnswer> parsed = ParseCliAnswer(parser.value(o.answer));
        if (!parsed)
            throw UsageError{QStringLiteral("--answer takes ask, yes, no or cancel")};
        answer = *parsed;
    }
    const bool errTerminal = isatty(fileno(err)) != 0;
    ConsoleProgress progress(err, errTerminal);
    ConsoleProgress* shownProgress = parser.isSet(o.progress) || errTerminal ? &progress : nullptr;
    ConsoleMessageBox box(answer, out, err, in, shownProgress, &g_interrupted);
    SystemClock clock;
    AppState state(box, clock);
    state.progress.attach(shownProgress, &g_interrupted);
    // The last line of progress stays on the screen, ended, however the run ends.
    struct EndProgress {
        ConsoleProgress& progress;
        ~EndProgress() { progress.end(); }
    } endProgress{progress};
    SetDstFolder(state, ExtractPane, QDir::cleanPath(QDir::currentPath()));
    SetDstFolder(state, BuildPane, QDir::cleanPath(QDir::currentPath()));
    RcTweakModel tweaks;
    const QList<QCommandLineOption> tweakOptions{o.tweaks, o.track, o.scramble, o.semiFull, o.loading, o.creditsLoading};

    const InterruptHandler interruptHandler;
    if (command == QLatin1String("extract")) {
        rejectOptions(parser, {o.move}, command);
        state.CreateLstOnly = parser.isSet(o.listOnly);
        applyTweaks(parser, o, state, tweaks);
        return runPane(parser, o, state, ExtractPane, file, tweaks, err);
    }
    if (command == QLatin1String("build")) {
        rejectOptions(parser, QList<QCommandLineOption>{o.listOnly} + tweakOptions, command);
        state.MoveFiles = parser.isSet(o.move);
        return runPane(parser, o, state, BuildPane, file, tweaks, err);
    }
    if (command == QLatin1String("convert")) {
        rejectOptions(parser, QList<QCommandLineOption>{o.dest, o.listOnly, o.move} + tweakOptions, command);
        const QFileInfo info(file);
        state.CnvPath = info.absoluteFilePath();
        return exitFor(ConvertTob1Picture(state, state.CnvPath, info.fileName()));
    }
    if (command == QLatin1String("detect")) {
        rejectOptions(parser, QList<QCommandLineOption>{o.dest, o.listOnly, o.move, o.answer, o.progress} + tweakOptions, command);
        const QFileInfo info(file);
        const quint8 type = QualifySrcFile(state, info.absoluteFilePath(), GetFileExt(info.fileName()));
        print(out, FTypeLegendEntry(type) + QLatin1Char('\n'));
        return type == TypeUnknown ? ExitStopped : ExitDone;
    }
    throw UsageError{QStringLiteral("unknown command: ") + command};
}

} // namespace

int RunTobx(const QStringList& arguments, std::FILE* out, std::FILE* err, std::FILE* in)
{
    try {
        return run(arguments, out, err, in);
    } catch (const UsageError& error) {
        print(err, QStringLiteral("tobx: %1\n\n").arg(error.text) + QString::fromLatin1(kUsage));
        return ExitUsage;
    }
}

} // namespace tobx
