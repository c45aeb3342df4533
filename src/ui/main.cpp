// SPDX-License-Identifier: MIT
// The desktop program: one main window; the program ends when it closes.
//   tobextractor [FILE...]
// Each file becomes the source of the pane of its type, as if chosen in that
// pane's dialog.
#include "AppIcon.h"
#include "frmTobExtractor.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTimer>

#include <cstring>

namespace {

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral(
        "Extracts Tobrava II archives and Rollcage index and image pairs into folders with a list file,\n"
        "builds archives and indexes again from such lists, applies Rollcage Stage II tweaks,\n"
        "and converts Tobrava I pictures to JPEG files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A file to open: a list file becomes the Build pane's source, "
                                                "any other file the Extract pane's. The first file for each pane "
                                                "is taken."),
                                 QStringLiteral("[FILE...]"));
}

// --help and --version print their text without a display.
bool asksForText(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0)
                return true;
    return false;
}

void name()
{
    QCoreApplication::setOrganizationName(QStringLiteral("TobExtractor"));
    QCoreApplication::setApplicationName(QStringLiteral("TobExtractor"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(TOBX_VERSION_MAJOR).arg(TOBX_VERSION_MINOR).arg(TOBX_VERSION_PATCH));
}

} // namespace

int main(int argc, char* argv[])
{
    if (asksForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        name();
        QCommandLineParser parser;
        describe(parser);
        parser.process(text); // prints and ends the program
        return 0;
    }
    QApplication app(argc, argv);
    name();
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);
    QApplication::setWindowIcon(tobx::AppIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(TOBX_APP_ID));

    // The user's settings, in the standard configuration folder.
    QSettings settings;
    tobx::frmTobExtractor window({nullptr, nullptr, nullptr, &settings});
    window.show();
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty())
        QTimer::singleShot(0, &window, [&window, files] { window.openFiles(files); });
    return QApplication::exec();
}
