// SPDX-License-Identifier: MIT
#include "RcTweakModel.h"

namespace tobx {

namespace {
bool validCheck(int index)
{
    return index >= 1 && index <= RcTweakModel::CheckCount;
}
bool validOption(int group, int option)
{
    return group >= 1 && group <= RcTweakModel::GroupCount && option >= 1
        && option <= RcTweakModel::optionCount(group);
}
} // namespace

RcTweakModel::RcTweakModel()
{
    reset();
}

void RcTweakModel::reset()
{
    m_checks.fill(State{});
    for (auto& group : m_options)
        group.fill(State{});
}

void RcTweakModel::open(quint8 rcVersion)
{
    reset();
    // Every group starts with its first option selected, all options disabled.
    for (int group = 1; group <= GroupCount; ++group)
        m_options[group][1].on = true;
    m_open = true;
    switch (rcVersion) {
    case Rc2FullPC:
        m_checks[4].enabled = true;
        break;
    case Rc2DemoPC:
        m_checks[1].enabled = m_checks[2].enabled = m_checks[3].enabled = true;
        break;
    case Rc2DemoPSX:
        m_checks[5].enabled = true;
        break;
    case UnknownVersion:
        m_options[3][1].enabled = m_options[3][2].enabled = true;
        m_checks[4].enabled = true;
        break;
    default:
        break;
    }
    notify();
}

void RcTweakModel::close()
{
    reset();
    m_open = false;
    notify();
}

bool RcTweakModel::ticked(int index) const
{
    return validCheck(index) && m_checks[index].on;
}

bool RcTweakModel::enabled(int index) const
{
    return validCheck(index) && m_checks[index].enabled;
}

bool RcTweakModel::selected(int group, int option) const
{
    return validOption(group, option) && m_options[group][option].on;
}

bool RcTweakModel::optionEnabled(int group, int option) const
{
    return validOption(group, option) && m_options[group][option].enabled;
}

void RcTweakModel::click(int index)
{
    if (!m_open || !enabled(index))
        return;
    setTick(index, !ticked(index));
    chkTweak_Click(index);
    notify();
}

void RcTweakModel::select(int group, int option)
{
    if (!m_open || !optionEnabled(group, option))
        return;
    for (int i = 1; i <= optionCount(group); ++i)
        m_options[group][i].on = (i == option);
    notify();
}

void RcTweakModel::chkTweak_Click(int index)
{
    switch (index) {
    case 1:
    case 2:
        SetTweakGroupEnabled(index, ticked(index));
        setEnabled(3, !ticked(1) && !ticked(2));
        break;
    case 3:
        if (!ticked(4))
            SetTweakGroupEnabled(3, ticked(3));
        setEnabled(1, !ticked(3));
        setEnabled(2, !ticked(3));
        setEnabled(4, ticked(3));
        break;
    case 4:
        if (ticked(3))
            SetTweakGroupEnabled(3, !ticked(4));
        break;
    default:
        break;
    }
}

void RcTweakModel::SetTweakGroupEnabled(int group, bool enabled)
{
    if (group < 1 || group > GroupCount)
        return;
    for (int i = 1; i <= optionCount(group); ++i)
        m_options[group][i].enabled = enabled;
}

void RcTweakModel::setTick(int index, bool on)
{
    if (validCheck(index))
        m_checks[index].on = on;
}

void RcTweakModel::setEnabled(int index, bool enabled)
{
    if (validCheck(index))
        m_checks[index].enabled = enabled;
}

void RcTweakModel::notify()
{
    if (changed)
        changed();
}

} // namespace tobx
