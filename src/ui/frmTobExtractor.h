// SPDX-License-Identifier: MIT
#pragma once
// The main window: the Extract pane (0) and the Build pane (1) side by side,
// the middle column of buttons, and the handlers that connect them to the
// pane state and the operations. Controls that exist once per pane are
// arrays indexed by the pane; one handler serves both and takes the index.

#include "core/AppState.h"
#include "frmRcTweaks.h"
#include "rollcage/RcTweakModel.h"

#include <QHash>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSettings;

namespace tobx {

class BackgroundRun;
class DriveList;
class FolderList;
class OpenFileDialog;
class QtMessageBox;
class QtOpenFileDialog;
class ResultListView;
class StatusLine;
class SystemClock;
class WindowMemory;
enum class FileDialogKind;

// What the window talks to; each one left out is the real thing (Qt message
// boxes, Qt's open-file dialog, the system clock). Without settings the
// window remembers nothing between runs.
struct WindowServices {
    MessageBox* messages = nullptr;
    OpenFileDialog* files = nullptr;
    Clock* clock = nullptr;
    QSettings* settings = nullptr;
};

class frmTobExtractor : public QWidget {
    Q_OBJECT
public:
    explicit frmTobExtractor(const WindowServices& services = {}, QWidget* parent = nullptr);
    ~frmTobExtractor() override;

    AppState& state() { return *m_state; }
    RcTweakModel& tweakModel() { return m_tweaks; }
    // The tweaks dialog while "Use Rc2 Tweaks" is ticked.
    frmRcTweaks* tweaksDialog() const { return m_tweaksDialog; }

    void cmdSelectSrc_Click(int index);
    void cmdGo_Click(int index);
    void drvDst_Change(int index);
    void dirDst_Change(int index);
    void cmdCreateDir_Click(int index);
    void cmdCopyPaths_Click(int index);
    void cmdShowPaths_Click(int index);
    void cmdAbout_Click();
    void cmdTob1cnv_Click();
    void cmdExit_Click();
    void chkUseTweaks_Click();
    void chkCreateLstOnly_Click();
    void chkMoveFiles_Click();
    // F5: the Build pane's output name read again from its list file.
    void RefreshBuildPane();

    // Files from outside the dialogs (command line, desktop, a drop outside
    // the panes): each the source of the pane of its type, the first one for
    // each pane; the rest are named in a message. pane >= 0 gives every file
    // to that pane (a drop on it).
    void openFiles(const QStringList& paths, int pane = -1);
    // Paths dropped on target (a control of the window, or the window): a
    // folder on a pane becomes its destination, files go as in openFiles.
    void dropPaths(const QStringList& paths, const QWidget* target);
    // The pane's one line of feedback on its last run.
    QString statusText(int index) const;

protected:
    // Closing the window closes the tweaks dialog with it; it is never refused.
    void closeEvent(QCloseEvent* event) override;
    // F5 reaches the window whichever of its controls has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();
    void setTabOrders();
    void Form_Load();
    void centreOnScreen();
    void restorePlace();
    void rememberOnClose();
    // The controls follow the window's size: lists and path fields grow, the
    // middle column stays between the panes.
    void layoutControls();
    template <typename W>
    W* placed(W* widget, const QString& name, int x, int y, int w, int h);

    // A source chosen in the pane's dialog, named from outside or dropped.
    void chooseSource(int index, const QString& fullPath, const QString& bareName);
    QString firstDialogFolder(FileDialogKind dialog) const;
    void rememberDialogFolder(FileDialogKind dialog, const QString& chosenFile);
    void openTypedFolder(int index);
    int paneOf(const QWidget* control) const;
    void showStatus(int index, const QString& text);
    void placeTweaksDialog();

    void showSrcPath(int index);
    void showDstPath(int index);
    void closeTweaksDialog();
    // Runs a handler's body; an error that escapes it is shown, never fatal.
    template <typename Body>
    void guarded(Body&& body);
    void showError(const QString& reason);

    std::unique_ptr<QtMessageBox> m_ownMessages;
    std::unique_ptr<QtOpenFileDialog> m_ownFiles;
    std::unique_ptr<SystemClock> m_ownClock;
    OpenFileDialog* m_files = nullptr;
    std::unique_ptr<AppState> m_state;
    RcTweakModel m_tweaks;
    QPointer<frmRcTweaks> m_tweaksDialog;
    std::array<std::unique_ptr<ResultListView>, 2> m_listViews;
    BackgroundRun* m_runs = nullptr; // the operations' worker thread
    std::unique_ptr<WindowMemory> m_memory;
    // Each control's place at the window's default size.
    QHash<const QWidget*, QRect> m_designed;

    // Controls, named as the window's control table names them.
    QGroupBox* fraExtract = nullptr;
    QGroupBox* fraBuild = nullptr;
    std::array<QGroupBox*, 2> fraSelectSrcFile{};
    std::array<QPushButton*, 2> cmdSelectSrc{};
    std::array<QLineEdit*, 2> txtSrcPath{};
    std::array<QListWidget*, 2> lstSrcFiles{};
    std::array<StatusLine*, 2> lblStatus{};
    std::array<QGroupBox*, 2> fraSelectDstDir{};
    std::array<DriveList*, 2> drvDst{};
    std::array<FolderList*, 2> dirDst{};
    std::array<QPushButton*, 2> cmdCreateDir{};
    std::array<QLineEdit*, 2> txtDstPath{};
    std::array<QPushButton*, 2> cmdGo{};
    QCheckBox* chkUseTweaks = nullptr;
    QCheckBox* chkCreateLstOnly = nullptr;
    QCheckBox* chkMoveFiles = nullptr;
    QPushButton* cmdAbout = nullptr;
    std::array<QPushButton*, 2> cmdShowPaths{};
    std::array<QPushButton*, 2> cmdCopyPaths{};
    QPushButton* cmdTob1cnv = nullptr;
    QPushButton* cmdExit = nullptr;
};

} // namespace tobx
