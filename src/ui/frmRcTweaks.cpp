// SPDX-License-Identifier: MIT
#include "frmRcTweaks.h"

#include "FormLook.h"
#include "StayOnTop.h"
#include "rollcage/RcTweakModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QRadioButton>

namespace tobx {

namespace {

struct Place {
    int left, top, width, height; // twips
};

template <typename W>
W* placed(W* widget, const QString& name, Place p)
{
    widget->setObjectName(name);
    widget->setGeometry(Twips(p.left), Twips(p.top), Twips(p.width), Twips(p.height));
    return widget;
}

QString indexed(const char* name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('_') + QString::number(index);
}

struct TweakCheck {
    const char* line1;
    const char* line2;
    int top;
};
constexpr TweakCheck kChecks[] = {
    {"Select Playable Track as Ventura: Knock Down", "(for PC Demo version)", 270},
    {"Use scramble track instead of Outworld: Full Force", "(for PC Demo version)", 2100},
    {"Convert Demo to Semi Full version", "(for PC Demo version)", 3810},
    {"Use Credits Pictures as Loading", "(for PC versions: Full; Semi Full)", 5250},
    {"Patch idx to use uncompressed exec only", "(for PSX Demo version)", 5880},
};

struct OptionGroup {
    const char* frame;
    const char* option;
    Place place;
    const char* captions[4];
};
const OptionGroup kGroups[] = {
    {"fraSingleTrck", "optTrck", {360, 630, 3015, 1335},
     {"Sky Way: Power Surge", "Outworld: Full Force", "Leviathan: Ida 447", "Jump Gate: Star Dock (untextured)"}},
    {"fraScrambleTrck", "optScramble", {360, 2460, 3015, 1065},
     {"Scramble: Introduction", "Scramble: FlipFlop", "Scramble: EndZone", nullptr}},
    {"fraLoading", "optLoading", {360, 4170, 3015, 765}, {"Use Demo Information Loading", "Use Main Loading", nullptr, nullptr}},
};

} // namespace

frmRcTweaks::frmRcTweaks(RcTweakModel& model, quint8 rcVersion, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_model(&model)
{
    setObjectName(QStringLiteral("frmRcTweaks"));
    setWindowTitle(QStringLiteral("Rollcage Stage II Tweaks"));
    setFixedSize(Twips(4350), Twips(6630));

    frmTweaks = placed(new QGroupBox(QStringLiteral("Tweaks"), this), QStringLiteral("frmTweaks"), {120, 90, 4095, 6435});

    // Created in tab order: each check box, then the frame of its options.
    for (int i = 1; i <= RcTweakModel::CheckCount; ++i) {
        const TweakCheck& c = kChecks[i - 1];
        auto* box = new QCheckBox(QString::fromLatin1(c.line1) + QLatin1Char('\n') + QString::fromLatin1(c.line2), frmTweaks);
        chkTweak[i] = placed(box, indexed("chkTweak", i), {120, c.top, 3855, 375});
        connect(box, &QCheckBox::clicked, this, [this, i] { chkTweak_Click(i); });
        if (i > RcTweakModel::GroupCount)
            continue;
        const OptionGroup& g = kGroups[i - 1];
        m_groupFrames[i] = placed(new QGroupBox(frmTweaks), QString::fromLatin1(g.frame), g.place);
        for (int o = 1; o <= RcTweakModel::optionCount(i); ++o) {
            auto* option = new QRadioButton(QString::fromLatin1(g.captions[o - 1]), m_groupFrames[i]);
            m_options[i][o] = placed(option, indexed(g.option, o), {120, 180 + 270 * (o - 1), 2775, 255});
            connect(option, &QRadioButton::clicked, this, [this, i, o] { opt_Click(i, o); });
        }
    }
    // A window of its own does not take the main window's font.
    setFont(FittingFont(this));
    QWidget* previous = nullptr;
    for (int i = 1; i <= RcTweakModel::CheckCount; ++i) {
        const auto chain = [&](QWidget* next) {
            if (previous)
                setTabOrder(previous, next);
            previous = next;
        };
        chain(chkTweak[i]);
        if (i <= RcTweakModel::GroupCount)
            for (int o = 1; o <= RcTweakModel::optionCount(i); ++o)
                chain(m_options[i][o]);
    }

    Form_Load(rcVersion);
}

frmRcTweaks::~frmRcTweaks()
{
    detach();
}

void frmRcTweaks::Form_Load(quint8 rcVersion)
{
    StayOnTop(this, true);
    m_model->open(rcVersion);
    m_model->changed = [this] { showModel(); };
    showModel();
}

void frmRcTweaks::showModel()
{
    for (int i = 1; i <= RcTweakModel::CheckCount; ++i) {
        chkTweak[i]->setChecked(m_model->ticked(i));
        chkTweak[i]->setEnabled(m_model->enabled(i));
    }
    for (int g = 1; g <= RcTweakModel::GroupCount; ++g)
        for (int o = 1; o <= RcTweakModel::optionCount(g); ++o) {
            QRadioButton* option = m_options[g][o];
            option->setEnabled(m_model->optionEnabled(g, o));
            // Exclusive within the frame: checking one unchecks the others.
            if (m_model->selected(g, o))
                option->setChecked(true);
        }
}

void frmRcTweaks::chkTweak_Click(int index)
{
    if (!m_model)
        return;
    // The box has already flipped its tick; the model flips its own and
    // applies the rules, and the boxes then show the model.
    m_model->click(index);
    showModel();
}

void frmRcTweaks::opt_Click(int group, int option)
{
    if (!m_model)
        return;
    m_model->select(group, option);
    showModel();
}

void frmRcTweaks::detach()
{
    if (!m_model)
        return;
    m_model->changed = nullptr;
    m_model->close();
    m_model = nullptr;
}

void frmRcTweaks::dismiss()
{
    m_dismissed = true;
    detach();
    hide();
}

void frmRcTweaks::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (!m_dismissed)
        Q_EMIT closeRequested();
}

} // namespace tobx
