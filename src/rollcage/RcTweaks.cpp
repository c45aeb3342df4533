// SPDX-License-Identifier: MIT
#include "RcTweaks.h"

#include "RcFormat.h"
#include "RcTweakModel.h"

#include <algorithm>
#include <initializer_list>

namespace tobx {

namespace {

const QByteArray kNone = QByteArrayLiteral("-");

enum Check { PlayableTrack = 1, ScrambleTrack = 2, SemiFull = 3, CreditsAsLoading = 4 };
enum Group { TrackGroup = 1, ScrambleGroup = 2, LoadingGroup = 3 };

// The even row of the track pair that holds `row`.
int pairStart(int row)
{
    return row - row % 2;
}

// The redirect of `row` to the pair that starts at `target`: even row to even
// row, odd row to odd row.
QByteArray pairRedirect(int row, int target)
{
    return RcRowText(target + row % 2);
}

// The demo slots that the options of the track and scramble groups stand for.
constexpr int kKnockDown = 88;
constexpr int kFullForce = 80;
constexpr int kTrackSlots[] = {82, 80, 84, 86};  // optTrck(1) to (4)
constexpr int kScrambleSlots[] = {90, 92, 94};   // optScramble(1) to (3)

// The slot of the first chosen option of a group, or -1.
template <std::size_t N>
int chosenSlot(const RcTweakModel& tweaks, int group, const int (&slots)[N])
{
    for (std::size_t i = 0; i < N; ++i)
        if (tweaks.chosen(group, int(i) + 1))
            return slots[i];
    return -1;
}

struct SemiFullPairs {
    int target;
    std::initializer_list<int> sources;
};

// Each track pair the demo lacks shows a demo track pair; by even rows.
const SemiFullPairs kSemiFullPairs[] = {
    {80, {86, 90, 98, 106, 108, 170, 190, 200, 210}},
    {92, {84, 96, 110, 202}},
    {100, {82, 94, 174, 188, 194}},
    {104, {88, 102, 172, 176, 180, 182, 184, 186, 192, 196}},
    {116, {112, 114, 118, 178, 198}},
    {120, {122, 124, 126, 128, 130, 132, 136, 138, 140, 142, 146, 156, 164}},
    {144, {154, 158, 160, 162, 166}},
    {168, {134, 148, 150, 152}},
    {232, {204, 206, 208}},
};

// The loading screens the demo lacks.
bool isMissingLoadingScreen(int row)
{
    return (row >= 236 && row <= 238) || row == 240 || row == 241 || (row >= 243 && row <= 250);
}

QByteArray semiFullPairRedirect(int row)
{
    if (row < 80 || row > 211)
        return kNone;
    const int start = pairStart(row);
    for (const SemiFullPairs& pairs : kSemiFullPairs)
        if (std::find(pairs.sources.begin(), pairs.sources.end(), start) != pairs.sources.end())
            return pairRedirect(row, pairs.target);
    return kNone;
}

// With both options chosen the main loading screen would win; the dialog lets
// only one of them be selected.
QByteArray semiFullLoadingRedirect(const RcTweakModel& tweaks)
{
    QByteArray redirect = kNone;
    if (tweaks.chosen(LoadingGroup, 1))
        redirect = RcRowText(251);
    if (tweaks.chosen(LoadingGroup, 2))
        redirect = RcRowText(239);
    return redirect;
}

} // namespace

QByteArray RcTweakRedirect(const RcTweakModel& tweaks, qint16 row)
{
    QByteArray redirect = kNone;
    if (tweaks.active(PlayableTrack) || tweaks.active(ScrambleTrack))
        redirect = RcTrackSwap(tweaks, row);
    // The dialog never lets the credits tweak be active with a track swap;
    // were it so, the credits tweak would win, "-" included.
    if (tweaks.active(CreditsAsLoading))
        redirect = RcCreditsAsLoading(tweaks, row);
    return redirect;
}

QByteArray RcTrackSwap(const RcTweakModel& tweaks, qint16 demoRow)
{
    const int start = pairStart(demoRow);
    const int trackSlot = chosenSlot(tweaks, TrackGroup, kTrackSlots);
    const int scrambleSlot = chosenSlot(tweaks, ScrambleGroup, kScrambleSlots);
    QByteArray redirect = kNone;
    // The chosen pairs first take the content of the slots they replace ...
    if (trackSlot >= 0 && start == trackSlot)
        redirect = pairRedirect(demoRow, kKnockDown);
    if (scrambleSlot >= 0 && start == scrambleSlot)
        redirect = pairRedirect(demoRow, kFullForce);
    // ... and the replaced slots then take theirs, winning where both apply.
    if (scrambleSlot >= 0 && start == kFullForce)
        redirect = pairRedirect(demoRow, scrambleSlot);
    if (trackSlot >= 0 && start == kKnockDown)
        redirect = pairRedirect(demoRow, trackSlot);
    return redirect;
}

QByteArray RcCreditsAsLoading(const RcTweakModel& tweaks, qint16 fullRow)
{
    // Rows 236 to 252: the credits picture each loading screen shows.
    static constexpr int kCreditsFor[] = {278, 270, 267, 283, 265, 280, 277, 281, 272,
                                          274, 269, 276, 275, 262, 266, 268, 271};
    if (!tweaks.active(CreditsAsLoading) || fullRow < 236 || fullRow > 252)
        return kNone;
    return RcRowText(kCreditsFor[fullRow - 236]);
}

QByteArray RcSemiFullRedirect(const RcTweakModel& tweaks, qint16 fullRow)
{
    if (fullRow >= 255 && fullRow <= 257)
        return RcRowText(254);
    if (fullRow == 284)
        return RcRowText(287);
    if (fullRow == 285)
        return RcRowText(288);
    if (isMissingLoadingScreen(fullRow))
        return semiFullLoadingRedirect(tweaks);
    if (fullRow == 252)
        return tweaks.optionEnabled(LoadingGroup, 1) && tweaks.optionEnabled(LoadingGroup, 2) ? RcRowText(286) : kNone;
    return semiFullPairRedirect(fullRow);
}

} // namespace tobx
