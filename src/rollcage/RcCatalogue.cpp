// SPDX-License-Identifier: MIT
#include "RcCatalogue.h"

#include <array>

#include <iterator>

namespace tobx {

namespace {

constexpr const char* kCars[] = {
    "Sub Sonic: Taipan", "Vostok: Python",     "Richter: Vicking",   "Patriot: Knight",
    "Unity: Panther",    "Patriot: Nemesis",   "Sub Sonic: Cutter",  "Patriot: Viper",
    "Sub Sonic: Blade",  "Vostok: Raptor",     "Richter: Claw Fist", "Patriot: Cobra",
    "Sub Sonic: Stinger", "Vostok: Reaper",    "Richter: Phoenix",   "Richter: Hawk",
    "Unity: Black Widow", "Vostok: Scorpion",  "Unity: Wolf",        "Unity: Genesis",
};

// Track pair k covers entries 80 + 2k (the "GFXM" entry) and 81 + 2k ("BTP").
constexpr const char* kTracks[] = {
    "Outworld: Full Force (DEMO)",
    "Ventura: Sentinel",
    "Skyway: Republic Loop",
    "Harpoon: Deep Pressure",
    "Leviathan: Mt Sara",
    "Outworld: Renegade",
    "Skyway: Power Surge (DEMO)",
    "Ventura: Furnace",
    "Skyway: The Helix",
    "Harpoon: Archipelaga",
    "Ventura: Knock Down (DEMO - playable by default)",
    "Leviathan: Impact",
    "Leviathan: Ida 447 (DEMO)",
    "Outword: Angel City",
    "Harpoon: Port Isaac",
    "Skyway: Scramble",
    "Jumpgate: Velocity",
    "Jumpgate: Neuro",
    "Jumpgate: Star Dock (DEMO) - Different in Demo",
    "Jumpgate: Hydroponics",
    "Scramble: Introduction (DEMO - playable by default)",
    "Scramble: Racing Line",
    "Scramble: Rough Justice",
    "Scramble: Racing Line II",
    "Scramble: Slip Sliding",
    "Scramble: Racing Line III",
    "Scramble: Rodeo",
    "Scramble: Cut Loose",
    "Scramble: Leap of Faith",
    "Scramble: Slip Sliding II",
    "Scramble: Bouncy Bouncy",
    "Scramble: Racing Line IV",
    "Scramble: Flip Flop (DEMO - playable by default as Racing Line)",
    "Scramble: Hip Hop",
    "Scramble: Moebius",
    "Scramble: Soar",
    "Scramble: In a Spin",
    "Scramble: Winter Wonderland",
    "Scramble: Top to Bottom",
    "Scramble: Winter Wonderland II",
    "Scramble: Manic Scramble",
    "Scramble: Top to Bottom II",
    "Scramble: Soar II",
    "Scramble: Sheer Velocity",
    "Scramble: End Zone (DEMO - playable by default as Rough Justice)",
    "Training: Introduction",
    "Training: Misty Morning",
    "Training: Speed is The Key",
    "Training: Pit",
    "Training: Speed is The Key II",
    "Training: Mirror Signal...",
    "Training: White Wonder",
    "Training: Leapfrog",
    "Training: Vertigo",
    "Training: Theory Test",
    "Combat Mode: Bodyshock",
    "Combat Mode: Switchback",
    "Combat Mode: Tit for tat",
    "Combat Mode: Firefox",
    "Combat Mode: Hatchet",
    "Pursuit: Jet Taurus",
    "Pursuit: Figure of Hate",
};

// Entries 236 to 252.
constexpr const char* kLoadingScreens[] = {
    "Race All Tracks",
    "Combat Mode",
    "Campaign Type I (b)",
    "Single (MAIN) (DEMO)",
    "Demolition",
    "Training",
    "Scramble (DEMO)",
    "Tournament",
    "Rubble Soccer",
    "Pursuit Mode",
    "Campaign Type II (e)",
    "Campaign (1) - Not Used",
    "Campaign (2) - Not Used",
    "Masters Campaign (m)",
    "Survivor Mode (Game Title Screen)",
    "Game Info (DEMO - Used in Demo version only - in Full - Place Holder)",
    "Team Photo (Cheat - snar)",
};

// Entries 261 to 282.
constexpr const char* kFaces[] = {
    "Computer Killer", "Loonie (With Guns)", "JAWA",             "JAM (Bug)",
    "Helicopter - Nuke", "Quorvash (Dead One)", "Bobo",          "Diver",
    "Cart Driver (12)", "Lambretty",          "Bush Tucker Ling", "Football...",
    "Headphone Shock",  "With Dogs",          "H-Man",            "On a Toilet",
    "Pilot",            "On a Mission",       "Princess",         "Man with Notepad",
    "I Love Gravity",   "Eyupp",
};

// Entries 254 to 257.
constexpr const char* kTimeSlowTextures[] = {
    "rouge/blue circles",
    "violet/blue circles-figures",
    "red figures",
    "blue lines",
};

// Entries 283 to 288.
constexpr const char* kCredits[] = {
    "CREDITS PICTURE: Intro",
    "CREDITS PICTURE: Bink Video Logo",
    "CREDITS PICTURE: Powered by Matrox Logo",
    "CREDITS PICTURE: HIDDEN PHOTO: Kiss",
    "CREDITS PICTURE: HIDDEN PHOTO: Girl",
    "CREDITS PICTURE: HIDDEN PHOTO: Boy (Zorvek)",
};

const QByteArray kUnknown = QByteArrayLiteral("???");

QByteArray trackPairType(int entry)
{
    return entry % 2 == 0 ? QByteArrayLiteral("GFXM") : QByteArrayLiteral("BTP");
}

QByteArray carModelText(int entry)
{
    static constexpr const char* kSuffixes[] = {": Type I", ": Type II", ": Type III"};
    return "CAR MODEL: " + RcCarName(quint8(entry / 3)) + kSuffixes[entry % 3];
}

// Entries 0 to 211: cars and track pairs.
RcEntryText carsAndTracks(int entry)
{
    if (entry <= 59)
        return {"PINP", carModelText(entry)};
    if (entry <= 79)
        return {"BM6D", "CAR TEXTURES: " + RcCarName(quint8(entry - 60))};
    if (entry <= 203)
        return {trackPairType(entry), QByteArray("TRACK: ") + kTracks[(entry - 80) / 2]};
    if (entry <= 209)
        return {trackPairType(entry), kUnknown};
    return {trackPairType(entry), "TRACK: Rubble Soccer"};
}

// Entries 212 to 235: unnamed entries, option fields and the font.
RcEntryText unnamedAndFont(int entry)
{
    if (entry == 218)
        return {"?", kUnknown};
    if (entry <= 231)
        return {"P", kUnknown};
    if (entry == 232)
        return {"GFXM", kUnknown};
    if (entry == 233)
        return {"BTP", kUnknown};
    if (entry == 234)
        return {"POF", "POSSIBLE OPTION FIELDS - Different in Demo"};
    return {"BM", "Font - Different in Demo"};
}

// Entries 236 to 289: pictures and the sound effects.
RcEntryText picturesAndSound(int entry)
{
    if (entry <= 252)
        return {"BM6", QByteArray("LOADING SCREEN: ") + kLoadingScreens[entry - 236]};
    if (entry == 253)
        return {"BM6D", "POWERUP TEXTURE: Freeze"};
    if (entry <= 257)
        return {"BM6", QByteArray("POWERUP TEXTURE: Time Slow: ") + kTimeSlowTextures[entry - 254]};
    if (entry == 258)
        return {"BM", "Optimized For AMD Logo"};
    if (entry == 259)
        return {"BM6", "TEXTURE: Unknown: dots"};
    if (entry == 260)
        return {"BM6", "TEXTURE: Unknown: smog?"};
    if (entry <= 282)
        return {"BM6", QByteArray("CREDITS PICTURE: South Park Face: ") + kFaces[entry - 261]};
    if (entry <= 288)
        return {"BM6", kCredits[entry - 283]};
    return {"PCSF", "PC Sound Effect File (can be extracted to wave's files)"};
}

RcEntryText describeEntry(int entry)
{
    if (entry <= 211)
        return carsAndTracks(entry);
    if (entry <= 235)
        return unnamedAndFont(entry);
    return picturesAndSound(entry);
}

constexpr int kCatalogueSize = 290;

} // namespace

// Every list of a full or demo index asks for each entry; the texts are made
// once and then shared.
RcEntryText RcEntryInfo(qint16 entry)
{
    if (entry < 0 || entry >= kCatalogueSize)
        return {QByteArrayLiteral("-"), kUnknown};
    static const std::array<RcEntryText, kCatalogueSize> catalogue = [] {
        std::array<RcEntryText, kCatalogueSize> texts;
        for (int e = 0; e < kCatalogueSize; ++e)
            texts[e] = describeEntry(e);
        return texts;
    }();
    return catalogue[entry];
}

QByteArray RcCarName(quint8 car)
{
    if (car >= std::size(kCars))
        return QByteArray();
    return kCars[car];
}

qint16 RcDemoToFull(qint16 demoEntry)
{
    struct Range {
        qint16 first;
        qint16 last;
        qint16 shift;
    };
    // Tested from the top; the first range that holds the entry decides.
    static constexpr Range kRanges[] = {
        {131, 134, 155}, {105, 130, 153}, {103, 104, 150}, {102, 102, 149}, {101, 101, 141},
        {100, 100, 139}, {96, 99, 136},   {94, 95, 74},     {92, 93, 52},    {90, 91, 30},
        {88, 89, 12},    {86, 87, 30},    {84, 85, 20},     {82, 83, 10},
    };
    for (const Range& range : kRanges)
        if (demoEntry >= range.first && demoEntry <= range.last)
            return qint16(demoEntry + range.shift);
    return demoEntry;
}

} // namespace tobx
