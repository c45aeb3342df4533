// SPDX-License-Identifier: MIT
#pragma once
// "Rollcage Stage II Tweaks": a modeless window above all others that shows
// the tweak choices of an RcTweakModel and forwards the user's clicks to it.
// A new dialog is made each time the tweaks are switched on; its load step
// opens the model for the edition, and the dialog lives until it is dismissed.

#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace tobx {

class RcTweakModel;

class frmRcTweaks : public QWidget {
    Q_OBJECT
public:
    frmRcTweaks(RcTweakModel& model, quint8 rcVersion, QWidget* parent = nullptr);
    ~frmRcTweaks() override;

    // The owner closes the dialog: the choices are dropped with it. Does not
    // report a close request.
    void dismiss();

    void chkTweak_Click(int index);
    void opt_Click(int group, int option);

Q_SIGNALS:
    // The user closes the dialog (its close box); the owner unticks its box.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load(quint8 rcVersion);
    void showModel();
    void detach();

    RcTweakModel* m_model;
    QGroupBox* frmTweaks = nullptr;
    std::array<QCheckBox*, 6> chkTweak{};        // 1 to 5
    std::array<QGroupBox*, 4> m_groupFrames{};   // fraSingleTrck, fraScrambleTrck, fraLoading
    std::array<std::array<QRadioButton*, 5>, 4> m_options{}; // [group][option], from 1
    bool m_dismissed = false;
};

} // namespace tobx
