// SPDX-License-Identifier: MIT
#include "UiTestSupport.h"

#include "Samples.h"
#include "ui/FolderList.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>

namespace tobx::test {

void ScriptedFileDialog::choose(const QString& path)
{
    m_answers.append(ChosenFile{path, QFileInfo(path).fileName()});
}

void ScriptedFileDialog::cancel()
{
    m_answers.append(std::nullopt);
}

std::optional<ChosenFile> ScriptedFileDialog::open(const OpenFileRequest& request)
{
    requests.append(request);
    if (m_answers.isEmpty()) {
        problems.append(QStringLiteral("unexpected file dialog: ") + request.title);
        return std::nullopt;
    }
    return m_answers.takeFirst();
}

WindowHarness::WindowHarness(MessageBox* messages, QSettings* settings)
    : previousFolder(QDir::currentPath())
{
    // Whatever a test opens, the user's own settings and folders stay out of it.
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(h.dir.path());
    startFolder = QDir::currentPath();
    window = std::make_unique<frmTobExtractor>(WindowServices{messages ? messages : &h.box, &files, &h.clock, settings});
}

WindowHarness::~WindowHarness()
{
    window.reset();
    QDir::setCurrent(previousFolder);
}

QString WindowHarness::write(const QString& relative, const QByteArray& bytes) const
{
    const QString full = path(relative);
    if (!samples::WriteFile(full, bytes))
        qFatal("cannot write %s", qPrintable(full));
    return full;
}

QByteArray WindowHarness::read(const QString& relative) const
{
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

void WindowHarness::selectSource(int pane, const QString& path)
{
    files.choose(path);
    click(QStringLiteral("cmdSelectSrc_") + QString::number(pane));
}

bool WindowHarness::openFolder(int pane, const QString& folder)
{
    return control<FolderList>(QStringLiteral("dirDst_") + QString::number(pane))->setCurrentFolder(folder);
}

QString WindowHarness::srcPathText(int pane) const
{
    return control<QLineEdit>(QStringLiteral("txtSrcPath_") + QString::number(pane))->text();
}

QString WindowHarness::dstPathText(int pane) const
{
    return control<QLineEdit>(QStringLiteral("txtDstPath_") + QString::number(pane))->text();
}

void WindowHarness::click(const QString& buttonName) const
{
    QAbstractButton* button = control<QAbstractButton>(buttonName);
    if (!button)
        qFatal("no button %s", qPrintable(buttonName));
    button->click();
}

} // namespace tobx::test
