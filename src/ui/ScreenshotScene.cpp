// SPDX-License-Identifier: MIT
// The main window in the state that the pictures in docs/ show: a generated
// archive chosen and extracted in the Extract pane, its list copied into the
// Build pane, and (unless --no-tweaks is given) the tweaks dialog open;
// --size=WIDTHxHEIGHT gives the window another size; --open-dialog shows the
// Extract pane's real file dialog, --path-dump the real SP0 box, on top. Other
// message boxes are answered with their default button without being shown. Prints "ready" once
// the windows are painted; scripts/screenshot then takes the picture and ends it.
// With --progress: the extraction of an archive of 30,000 entries (about
// 570 MiB) into an empty folder, "ready" once its progress display is up;
// a few seconds later Cancel is clicked and what the run left is printed.
#include "AppIcon.h"
#include "Diagnostics.h"
#include "OpenFileDialog.h"
#include "QtMessageBox.h"
#include "frmTobExtractor.h"

#include "Samples.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <utility>

namespace {

class DefaultAnswers final : public tobx::MessageBox {
public:
    tobx::MsgResult show(const tobx::Message& message) override
    {
        titles.append(message.shownTitle() + QStringLiteral(": ") + message.text.section(QLatin1Char('\n'), 0, 0));
        return message.defaultButton;
    }
    QStringList titles;
};

class FixedChoice final : public tobx::OpenFileDialog {
public:
    explicit FixedChoice(QString path)
        : m_path(std::move(path))
    {
    }
    std::optional<tobx::ChosenFile> open(const tobx::OpenFileRequest&) override
    {
        return tobx::ChosenFile{m_path, QFileInfo(m_path).fileName()};
    }

private:
    QString m_path;
};

void say(const QString& line)
{
    std::puts(qPrintable(line));
    std::fflush(stdout);
}

int filesBelow(const QString& dir)
{
    int count = 0;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

// The window during a long extraction, then cancelled.
int progressScene(QApplication& app, const QString& games, const QString& work)
{
    constexpr int kEntries = 30000;
    const QString archive = games + QStringLiteral("/data.tob");
    if (!tobx::samples::WriteFile(archive, tobx::samples::MakeTobArchive(tobx::samples::NestedEntries(kEntries, 40000, 9))))
        return 1;
    say(QStringLiteral("archive: %1 MiB").arg(QFileInfo(archive).size() / (1024 * 1024)));
    DefaultAnswers answers;
    FixedChoice choice(archive);
    tobx::frmTobExtractor window({&answers, &choice, nullptr});
    window.show();
    window.cmdSelectSrc_Click(tobx::ExtractPane);

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        auto* display = window.findChild<QDialog*>(QStringLiteral("progressDisplay"));
        if (!display || !display->isVisible())
            return;
        watch.stop();
        // Long enough for the rate and the time left to be known.
        QTimer::singleShot(1000, &app, [] { say(QStringLiteral("ready")); });
        QTimer::singleShot(1800, &app, [display] {
            if (auto* cancel = display->findChild<QPushButton*>(QStringLiteral("cmdProgressCancel")))
                cancel->click();
        });
    });
    watch.start(50);
    QTimer::singleShot(0, &app, [&] {
        window.cmdGo_Click(tobx::ExtractPane);
        say(QStringLiteral("after cancel: %1 of %2 entry files written, list file %3, boxes shown: %4")
                .arg(filesBelow(work) - (QFileInfo::exists(work + QStringLiteral("/data.lst")) ? 1 : 0))
                .arg(kEntries)
                .arg(QFileInfo::exists(work + QStringLiteral("/data.lst")) ? QStringLiteral("present") : QStringLiteral("absent"))
                .arg(answers.titles.isEmpty() ? QStringLiteral("none") : answers.titles.join(QStringLiteral("; "))));
        QTimer::singleShot(500, &app, &QApplication::quit);
    });
    QTimer::singleShot(60000, &app, &QApplication::quit);
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TobExtractor"));
    QApplication::setWindowIcon(tobx::AppIcon());

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    const QString games = scratch.filePath(QStringLiteral("games"));
    const QString work = scratch.filePath(QStringLiteral("mods"));
    const QString archive = games + QStringLiteral("/data.tob");
    if (!QDir().mkpath(work) || !QDir().mkpath(games))
        return 1;
    if (!QApplication::arguments().contains(QStringLiteral("--progress"))
        && !tobx::samples::WriteFile(archive, tobx::samples::MakeTobArchive(tobx::samples::NestedEntries(60, 4000, 7))))
        return 1;
    QDir::setCurrent(work);
    if (QApplication::arguments().contains(QStringLiteral("--progress")))
        return progressScene(app, games, work);

    DefaultAnswers answers;
    FixedChoice choice(archive);
    tobx::frmTobExtractor window({&answers, &choice, nullptr});
    for (const QString& argument : QApplication::arguments()) {
        if (!argument.startsWith(QLatin1String("--size=")))
            continue;
        const QStringList size = argument.mid(7).split(QLatin1Char('x'));
        if (size.size() == 2) {
            window.resize(size.at(0).toInt(), size.at(1).toInt());
            window.move(16, 16); // the whole window on the screen
        }
    }
    window.show();

    window.cmdSelectSrc_Click(tobx::ExtractPane);
    window.cmdGo_Click(tobx::ExtractPane);
    window.cmdCopyPaths_Click(tobx::BuildPane);
    if (!QApplication::arguments().contains(QStringLiteral("--no-tweaks")))
        window.findChild<QCheckBox*>(QStringLiteral("chkUseTweaks"))->setChecked(true);
    if (auto* dialog = window.tweaksDialog())
        if (auto* semiFull = dialog->findChild<QCheckBox*>(QStringLiteral("chkTweak_3")))
            semiFull->click();

    // Shown from the event loop, so that the picture is taken while they wait.
    tobx::QtOpenFileDialog realFiles(&window);
    if (QApplication::arguments().contains(QStringLiteral("--open-dialog")))
        QTimer::singleShot(200, &window, [&] {
            tobx::OpenFileRequest request;
            request.title = QStringLiteral("Select Source file to extract / convert");
            request.filter = QStringLiteral("All supported (*.tob;*.toj;*.idx;*.img)|*.tob;*.toj;*.idx;*.img");
            request.initialFile = games + QStringLiteral("/*.tob;*.toj;*.idx;*.img");
            realFiles.open(request);
        });
    tobx::QtMessageBox realMessages(&window);
    if (QApplication::arguments().contains(QStringLiteral("--path-dump")))
        QTimer::singleShot(200, &window, [&] {
            const auto text = [&](const char* name) {
                return window.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
            };
            tobx::Message dump;
            dump.text = tobx::PathDumpText(window.state(), tobx::ExtractPane, text("txtSrcPath_0"), text("txtDstPath_0"));
            dump.title = tobx::PathDumpTitle(tobx::ExtractPane);
            dump.fixedPitch = true;
            realMessages.show(dump);
        });
    QTimer::singleShot(1500, &app, [] {
        std::puts("ready");
        std::fflush(stdout);
    });
    // Never outlives a script that forgot it.
    QTimer::singleShot(60000, &app, &QApplication::quit);
    return QApplication::exec();
}
