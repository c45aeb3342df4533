// The main window in the state that the pictures in docs/ show: a generated
// archive chosen and extracted in the Extract pane, its list copied into the
// Build pane, and (unless --no-tweaks is given) the tweaks dialog open;
// --size=WIDTHxHEIGHT gives the window another size; --open-dialog shows the
// Extract pane's real file dialog, --path-dump the real SP0 box, on top. Other
// message boxes are answered with their default button without being shown. Prints "ready" once
// the windows are painted; scripts/screenshot then takes the picture and ends it.
#include "AppIcon.h"
#include "Diagnostics.h"
#include "OpenFileDialog.h"
#include "QtMessageBox.h"
#include "frmTobExtractor.h"

#include "Samples.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
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
    tobx::MsgResult show(const tobx::Message& message) override { return message.defaultButton; }
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
    if (!QDir().mkpath(work)
        || !tobx::samples::WriteFile(archive, tobx::samples::MakeTobArchive(tobx::samples::NestedEntries(60, 4000, 7))))
        return 1;
    QDir::setCurrent(work);

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
