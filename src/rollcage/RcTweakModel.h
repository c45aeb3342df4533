// SPDX-License-Identifier: MIT
#pragma once
// The tweak choices of the "Rollcage Stage II Tweaks" dialog as a model without
// widgets: five check boxes and three option groups, each with a tick (or
// selection) and an enabled state. The dialog shows it and forwards clicks to
// it; the tweaks engine reads it while a list is written. Closed, every check
// box is unticked and disabled and every option disabled.

#include <QtGlobal>

#include <array>
#include <functional>

namespace tobx {

// Edition codes held in RcVersion.
enum RcEdition : quint8 {
    RcFullPC = 1,
    RcDemoPC = 2,
    Rc2FullPC = 3,
    Rc2DemoPC = 4,
    RcFullPSX = 5,
    RcDemoPSX = 6,
    Rc2FullPSX = 7,
    Rc2DemoPSX = 8,
    UnknownVersion = 9,
};

class RcTweakModel {
public:
    static constexpr int CheckCount = 5; // chkTweak(1) to chkTweak(5)
    static constexpr int GroupCount = 3; // optTrck, optScramble, optLoading

    // Group g has 5 - g options, numbered from 1.
    static constexpr int optionCount(int group) { return 5 - group; }

    RcTweakModel();

    // Opening: every control back to its initial state, then the load step
    // enables what the edition offers.
    void open(quint8 rcVersion);
    void close();
    bool isOpen() const { return m_open; }

    bool ticked(int index) const;   // chkTweak(index) tick state
    bool enabled(int index) const;  // chkTweak(index) enabled state
    bool active(int index) const { return ticked(index) && enabled(index); }

    bool selected(int group, int option) const;
    bool optionEnabled(int group, int option) const;
    bool chosen(int group, int option) const { return selected(group, option) && optionEnabled(group, option); }

    // The user clicks a check box: the tick flips, then chkTweak_Click runs.
    void click(int index);
    // The user selects an option: the others of its group are deselected.
    void select(int group, int option);

    void chkTweak_Click(int index);
    void SetTweakGroupEnabled(int group, bool enabled);

    // Called after every change, so that a view can follow.
    std::function<void()> changed;

private:
    struct State {
        bool on = false;
        bool enabled = false;
    };
    void reset();
    void setTick(int index, bool on);
    void setEnabled(int index, bool enabled);
    void notify();

    bool m_open = false;
    std::array<State, CheckCount + 1> m_checks;                 // index 0 unused
    std::array<std::array<State, 5>, GroupCount + 1> m_options; // [group][option], 0 unused
};

} // namespace tobx
