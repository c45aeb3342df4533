// SPDX-License-Identifier: MIT
#pragma once
// The main window under test: scripted message boxes and open-file dialog, a
// fixed clock, and a temporary folder that is the current folder while the
// window lives (so both destinations start there).

#include "TestSupport.h"
#include "ui/OpenFileDialog.h"
#include "ui/frmTobExtractor.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;
#include <optional>

namespace tobx::test {

class ScriptedFileDialog final : public OpenFileDialog {
public:
    // The next dialog chooses path (its bare name is taken from it).
    void choose(const QString& path);
    // The next dialog is cancelled.
    void cancel();

    std::optional<ChosenFile> open(const OpenFileRequest& request) override;

    QList<OpenFileRequest> requests;
    QStringList problems; // dialogs opened without a scripted answer
    bool clean() const { return problems.isEmpty() && m_answers.isEmpty(); }

private:
    QList<std::optional<ChosenFile>> m_answers;
};

struct WindowHarness {
    // messages: a box of the test's own in place of the scripted h.box;
    // settings: a scratch store the window remembers its folders in (none
    // by default, and never the user's own).
    explicit WindowHarness(MessageBox* messages = nullptr, QSettings* settings = nullptr);
    ~WindowHarness();
    WindowHarness(const WindowHarness&) = delete;
    WindowHarness& operator=(const WindowHarness&) = delete;

    Harness h;
    ScriptedFileDialog files;
    QString previousFolder;
    QString startFolder; // current while the window lives
    std::unique_ptr<frmTobExtractor> window;

    AppState& state() { return window->state(); }
    // The folder that was current when the window opened, without a trailing '/'.
    QString startDir() const { return startFolder; }

    // A path below the start folder, spelt as the window spells it.
    QString path(const QString& relative) const { return startFolder + QLatin1Char('/') + relative; }
    // Writes a file below the start folder, creating its folders; its path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;

    template <typename W>
    W* control(const QString& name) const
    {
        return window->findChild<W*>(name);
    }
    // The source of a pane chosen through its button and the scripted dialog.
    void selectSource(int pane, const QString& path);
    // The pane's folder list opens folder, as a double click on it would.
    bool openFolder(int pane, const QString& folder);
    QString srcPathText(int pane) const;
    QString dstPathText(int pane) const;
    void click(const QString& buttonName) const;
};

} // namespace tobx::test

#define TOBX_VERIFY_FILES(files) QVERIFY2((files).clean(), qPrintable((files).problems.join(QLatin1Char('\n'))))
