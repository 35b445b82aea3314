#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "feed.hpp"
#include "indicators/core/catalogue.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

Candle k(double o, double h, double l, double c) { return candle(o, h, l, c); }

// Bars per formation; the range lines hold five ranges and answer from the sixth candle.
const std::map<std::string, std::size_t>& lengths() {
    static const std::map<std::string, std::size_t> table = [] {
        std::map<std::string, std::size_t> t;
        for (const char* n : {"Doji", "DragonflyDoji", "GravestoneDoji", "LongLeggedDoji", "RickshawMan", "HighWave",
                              "Takuri", "Hammer", "HangingMan", "InvertedHammer", "ShootingStar", "Marubozu",
                              "SpinningTop", "ClosingMarubozu", "OpeningMarubozu", "BeltHold"})
            t[n] = 1;
        for (const char* n : {"Engulfing", "Harami", "HaramiCross", "DojiStar", "HomingPigeon", "InNeck", "OnNeck",
                              "Thrusting", "PiercingDarkCloud", "Kicking", "KickingByLength", "MatchingLow",
                              "SeparatingLines", "Counterattack", "Tweezer"})
            t[n] = 2;
        for (const char* n :
             {"MorningEveningStar", "MorningDojiStar", "EveningDojiStar", "AbandonedBaby", "Tristar", "ThreeInside",
              "ThreeOutside", "ThreeSoldiersOrCrows", "IdenticalThreeCrows", "AdvanceBlock", "StalledPattern",
              "TwoCrows", "UpsideGapTwoCrows", "UpsideGapThreeMethods", "DownsideGapThreeMethods",
              "GapSideBySideWhite", "StickSandwich", "TasukiGap", "ThreeStarsInSouth", "UniqueThreeRiver",
              "TowerTopBottom", "Hikkake"})
            t[n] = 3;
        for (const char* n : {"ThreeLineStrike", "ConcealingBabySwallow", "HikkakeModified"}) t[n] = 4;
        for (const char* n : {"RisingThreeMethods", "FallingThreeMethods", "MatHold", "LadderBottom", "Breakaway",
                              "LongLine", "ShortLine"})
            t[n] = 5;
        return t;
    }();
    return table;
}

std::size_t first_value(const std::string& name) {
    return name == "LongLine" || name == "ShortLine" ? 6 : lengths().at(name);
}

// Varied valid candles: bodies of both colours and none, shadows from none to long.
std::vector<Candle> mixed_series(std::size_t n) {
    std::uint64_t s = 7;
    const auto next = [&s] {
        std::uint64_t z = (s += 0x9e3779b97f4a7c15ull);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
        return static_cast<double>((z ^ (z >> 31)) % 1000) / 1000.0;
    };
    std::vector<Candle> out;
    double level = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        level += (next() - 0.5) * 6.0;
        const double o = level;
        const double c = next() < 0.1 ? o : o + (next() - 0.5) * 4.0;
        const double h = std::max(o, c) + (next() < 0.3 ? 0.0 : next() * 3.0);
        const double l = std::min(o, c) - (next() < 0.3 ? 0.0 : next() * 3.0);
        out.push_back(k(o, h, l, c));
    }
    return out;
}

struct Formation {
    const char* name;
    std::vector<Candle> bars;  // exactly enough candles for the first value
    double want;
};

std::string describe(const Formation& c) {
    std::string s = c.name;
    for (const Candle& b : c.bars)
        s += " (" + std::to_string(b.open) + "," + std::to_string(b.high) + "," + std::to_string(b.low) + "," +
             std::to_string(b.close) + ")";
    return s;
}

// Five candles of range 2, the base of the range-line cases.
std::vector<Candle> five_ranges_then(Candle last) {
    std::vector<Candle> v(5, k(100, 101, 99, 100));
    v.push_back(last);
    return v;
}

// Each case holds just the candles of one formation, so its last candle carries the signal.
const std::vector<Formation>& signal_cases() {
    // Range 10 over 100..110 puts the tenths exactly on the boundaries.
    static const std::vector<Formation> cases = {
        {"Doji", {k(104, 110, 100, 105)}, 1},
        {"Doji", {k(104, 110, 100, 105.5)}, 0},
        {"Doji", {k(7, 7, 7, 7)}, 0},
        {"DragonflyDoji", {k(109, 110, 100, 109.5)}, 1},
        {"DragonflyDoji", {k(105, 110, 100, 105.5)}, 0},
        {"GravestoneDoji", {k(100.5, 110, 100, 101)}, -1},
        {"GravestoneDoji", {k(109, 110, 100, 109.5)}, 0},
        {"LongLeggedDoji", {k(105, 110, 100, 105.5)}, 1},
        {"LongLeggedDoji", {k(102, 110, 100, 102.5)}, 0},
        {"RickshawMan", {k(105, 110, 100, 105.5)}, 1},
        {"RickshawMan", {k(103.5, 110, 100, 104)}, 0},
        {"LongLeggedDoji", {k(103.5, 110, 100, 104)}, 1},
        {"HighWave", {k(104, 110, 100, 106)}, 1},
        {"HighWave", {k(104, 110, 100, 107)}, 0},
        {"Takuri", {k(109.6, 110, 100, 110)}, 1},
        {"Takuri", {k(109, 110, 100, 109.4)}, 0},
        {"Hammer", {k(108, 110, 100, 109)}, 1},
        {"Hammer", {k(107, 110, 100, 108)}, 0},
        {"Hammer", {k(109, 110, 100, 109)}, 0},
        {"HangingMan", {k(108, 110, 100, 109)}, 1},
        {"InvertedHammer", {k(101, 110, 100, 102)}, 1},
        {"InvertedHammer", {k(108, 110, 100, 109)}, 0},
        {"ShootingStar", {k(101, 110, 100, 102)}, 1},
        {"Marubozu", {k(100.5, 110, 100, 109.5)}, 1},
        {"Marubozu", {k(109.5, 110, 100, 100.5)}, -1},
        {"Marubozu", {k(101, 110, 100, 109.5)}, 0},
        {"SpinningTop", {k(104.5, 110, 100, 105.5)}, 1},
        {"SpinningTop", {k(105.5, 110, 100, 104.5)}, -1},
        {"SpinningTop", {k(100.5, 110, 100, 101.5)}, 0},
        {"ClosingMarubozu", {k(102, 110, 100, 109.5)}, 1},
        {"ClosingMarubozu", {k(108, 110, 100, 100.5)}, -1},
        {"ClosingMarubozu", {k(102, 110, 100, 109)}, 0},
        {"OpeningMarubozu", {k(102, 110, 100, 109.5)}, 0},
        {"OpeningMarubozu", {k(100.5, 110, 100, 108)}, 1},
        {"OpeningMarubozu", {k(109.5, 110, 100, 102)}, -1},
        {"OpeningMarubozu", {k(100.5, 110, 100, 106)}, 0},
        {"BeltHold", {k(100.5, 110, 100, 106)}, 1},
        {"BeltHold", {k(109.5, 110, 100, 104)}, -1},
        {"BeltHold", {k(100.5, 110, 100, 104)}, 0},

        {"Engulfing", {k(102, 103, 99, 100), k(99.5, 103, 99, 102.5)}, 1},
        {"Engulfing", {k(100, 103, 99, 102), k(102.5, 103, 99, 99.5)}, -1},
        {"Engulfing", {k(102, 103, 99, 100), k(100, 103, 99, 102)}, 0},  // equal bodies
        {"Harami", {k(104, 105, 99, 100), k(101, 103, 100.5, 102)}, 1},
        {"Harami", {k(100, 105, 99, 104), k(103, 103.5, 101, 102)}, -1},
        {"Harami", {k(104, 105, 99, 100), k(102, 103, 101, 102)}, 0},
        {"HaramiCross", {k(104, 105, 99, 100), k(102, 103, 101, 102.1)}, 1},
        {"HaramiCross", {k(100, 105, 99, 104), k(102, 103, 101, 102.1)}, -1},
        {"HaramiCross", {k(104, 105, 99, 100), k(104.5, 105, 104, 104.5)}, 0},
        {"HaramiCross", {k(100, 100, 100, 100), k(100, 101, 99, 100)}, 0},  // a flat candle has no colour
        {"DojiStar", {k(104, 105, 99, 100), k(98, 99, 97, 98.1)}, 1},
        {"DojiStar", {k(100, 105, 99, 104), k(106, 107, 105, 106.1)}, -1},
        {"DojiStar", {k(104, 105, 99, 100), k(101, 102, 100, 101.1)}, 0},
        {"HomingPigeon", {k(105, 106, 99, 100), k(104, 104.5, 100.5, 101)}, 1},
        {"HomingPigeon", {k(105, 106, 99, 100), k(105.5, 106, 100.5, 101)}, 0},
        {"InNeck", {k(110, 111, 99, 100), k(97, 101, 96, 100.5)}, -1},
        {"InNeck", {k(110, 111, 99, 100), k(97, 101, 96, 101)}, -1},
        {"InNeck", {k(110, 111, 99, 100), k(97, 102, 96, 101.5)}, 0},
        {"OnNeck", {k(110, 111, 99, 100), k(97, 99.5, 96, 99.2)}, -1},
        {"OnNeck", {k(110, 111, 99, 100), k(97, 100, 96, 100)}, 0},
        {"Thrusting", {k(110, 111, 99, 100), k(97, 103, 96, 102)}, -1},
        {"Thrusting", {k(110, 111, 99, 100), k(97, 101, 96, 101)}, 0},
        {"Thrusting", {k(110, 111, 99, 100), k(97, 107, 96, 106)}, 0},
        {"PiercingDarkCloud", {k(106, 107, 99, 100), k(98, 105, 97.5, 104)}, 1},
        {"PiercingDarkCloud", {k(100, 107, 99, 106), k(108, 108.5, 101, 102)}, -1},
        {"PiercingDarkCloud", {k(106, 107, 99, 100), k(98, 105, 97.5, 103)}, 0},
        {"Kicking", {k(105, 105, 100, 100), k(106, 111, 106, 111)}, 1},
        {"Kicking", {k(100, 105, 100, 105), k(99, 99, 94, 94)}, -1},
        {"Kicking", {k(105, 105, 100, 100), k(104, 109, 104, 109)}, 0},
        {"KickingByLength", {k(105, 105, 100, 100), k(106, 111, 106, 111)}, -1},
        {"KickingByLength", {k(105, 105, 100, 100), k(106, 112, 106, 112)}, 1},
        {"KickingByLength", {k(100, 105, 100, 105), k(99, 99, 94, 94)}, 1},
        {"KickingByLength", {k(100, 104, 100, 104), k(99, 99, 94, 94)}, -1},
        {"KickingByLength", {k(105, 105, 100, 100), k(104, 109, 104, 109)}, 0},
        {"MatchingLow", {k(105, 106, 99, 100), k(103, 104, 99.8, 100.2)}, 1},
        {"MatchingLow", {k(105, 106, 99, 100), k(103, 104, 99.8, 100.4)}, 0},
        {"SeparatingLines", {k(105, 106, 99, 100), k(105.2, 112, 105, 111)}, 1},
        {"SeparatingLines", {k(100, 106, 99, 105), k(99.8, 100, 93, 94)}, -1},
        {"SeparatingLines", {k(105, 106, 99, 100), k(105.5, 112, 105, 111)}, 0},
        {"Counterattack", {k(110, 111, 99, 100), k(90, 101, 89, 100.2)}, 1},
        {"Counterattack", {k(100, 111, 99, 110), k(120, 121, 109, 109.8)}, -1},
        {"Counterattack", {k(110, 111, 99, 100), k(90, 101, 89, 101)}, 0},
        {"Tweezer", {k(100, 105, 99, 103), k(103, 104, 99.05, 101)}, 1},
        {"Tweezer", {k(100, 105, 99, 103), k(103, 105.05, 98, 101)}, -1},
        {"Tweezer", {k(100, 105, 99, 103), k(103, 105, 99, 101)}, 1},  // lows are read first
        {"Tweezer", {k(100, 105, 99, 103), k(103, 104, 98, 101)}, 0},

        {"MorningEveningStar", {k(110, 111, 99, 100), k(98, 99, 97, 98.5), k(99, 105, 98.5, 104)}, 1},
        {"MorningEveningStar", {k(100, 111, 99, 110), k(111.5, 113, 111, 112), k(111, 111.5, 105, 106)}, -1},
        {"MorningEveningStar", {k(110, 111, 99, 100), k(98, 99, 97, 98.5), k(99, 105, 98.5, 103)}, 0},
        {"MorningDojiStar", {k(110, 111, 99, 100), k(98, 99, 97, 98.1), k(99, 105, 98.5, 104)}, 1},
        {"MorningDojiStar", {k(110, 111, 99, 100), k(98, 99, 97, 98.1), k(98, 105, 97.5, 104)}, 0},
        {"EveningDojiStar", {k(110, 111, 99, 100), k(98, 99, 97, 98.1), k(99, 105, 98.5, 104)}, 0},
        {"EveningDojiStar", {k(100, 111, 99, 110), k(112, 113, 111, 111.9), k(111, 111.5, 105, 106)}, -1},
        {"EveningDojiStar", {k(100, 111, 99, 110), k(112, 113, 111, 111.9), k(111, 111.5, 106.5, 107)}, 0},
        {"AbandonedBaby", {k(110, 111, 101, 102), k(99, 100, 98, 99.05), k(101, 106, 100.5, 105)}, 1},
        {"AbandonedBaby", {k(102, 111, 101, 110), k(112, 113, 112, 112.05), k(111, 111.5, 105, 106)}, -1},
        {"AbandonedBaby", {k(110, 111, 101, 102), k(99, 100, 98, 99.05), k(101, 106, 99.5, 105)}, 0},
        {"AbandonedBaby", {k(110, 111, 101, 102), k(99, 100, 98, 99.2), k(101, 106, 100.5, 105)}, 0},
        {"Tristar", {k(100, 101, 99, 100), k(103, 104, 102, 103), k(101, 102, 100, 101)}, -1},
        {"Tristar", {k(103, 104, 102, 103), k(100, 101, 99, 100), k(101, 102, 100, 101)}, 1},
        {"Tristar", {k(103, 104, 102, 103), k(100, 101, 99, 100), k(101, 102, 100, 102)}, 0},
        {"ThreeInside", {k(110, 111, 99, 100), k(102, 106, 101, 105), k(105, 112, 104, 111)}, 1},
        {"ThreeInside", {k(100, 111, 99, 110), k(108, 109, 104, 105), k(105, 106, 98, 99)}, -1},
        {"ThreeInside", {k(110, 111, 99, 100), k(102, 106, 101, 105), k(105, 112, 104, 110)}, 0},
        {"ThreeOutside", {k(104, 105, 101, 102), k(101, 107, 100, 106), k(106, 109, 105, 108)}, 1},
        {"ThreeOutside", {k(102, 105, 101, 104), k(105, 106, 99, 100), k(100, 101, 97, 98)}, -1},
        {"ThreeOutside", {k(104, 105, 101, 102), k(101, 107, 100, 106), k(105, 109, 104, 106)}, 0},
        {"ThreeSoldiersOrCrows", {k(100, 103, 99.5, 102.5), k(101, 105, 100.5, 104.5), k(103, 107, 102.5, 106.5)}, 1},
        {"ThreeSoldiersOrCrows", {k(106.5, 107, 103, 104), k(105.5, 106, 101.5, 102), k(103.5, 104, 99.5, 100)}, -1},
        {"ThreeSoldiersOrCrows", {k(100, 103, 99.5, 102.5), k(101, 105, 100.5, 104.5), k(105, 107, 104.5, 106.5)}, 0},
        {"AdvanceBlock", {k(100, 104.5, 99.5, 104), k(102, 107, 101.5, 105), k(104, 109, 103.5, 106)}, -1},
        {"AdvanceBlock", {k(100, 104.5, 99.5, 104), k(102, 107, 101.5, 105), k(104, 107.5, 103.5, 106)}, 0},
        {"IdenticalThreeCrows", {k(110, 110.5, 104, 105), k(105, 105.5, 99, 100), k(100, 100.5, 94, 95)}, -1},
        {"IdenticalThreeCrows", {k(110, 110.5, 104, 105), k(105.1, 105.5, 99, 100), k(100, 100.5, 94, 95)}, -1},
        {"IdenticalThreeCrows", {k(110, 110.5, 104, 105), k(105.2, 105.5, 99, 100), k(100, 100.5, 94, 95)}, 0},
        {"StalledPattern", {k(100, 105, 99.5, 104.5), k(104, 109.5, 103.5, 109), k(109, 110.5, 108.5, 109.5)}, -1},
        {"StalledPattern", {k(100, 105, 99.5, 104.5), k(104, 109.5, 103.5, 109), k(109, 110.5, 108.5, 110)}, 0},
        {"TwoCrows", {k(100, 106, 99, 105), k(108, 109, 106, 107), k(107.5, 108, 101, 102)}, -1},
        {"TwoCrows", {k(100, 106, 99, 105), k(108, 109, 106, 107), k(108.5, 109, 101, 102)}, 0},
        {"UpsideGapTwoCrows", {k(100, 106, 99, 105), k(108, 109, 106, 107), k(109, 109.5, 105.5, 106)}, -1},
        {"UpsideGapTwoCrows", {k(100, 106, 99, 105), k(108, 109, 106, 107), k(109, 109.5, 103.5, 104)}, 0},
        {"UpsideGapThreeMethods", {k(100, 106, 99, 105), k(107, 111, 106.5, 110), k(108, 108.5, 101, 102)}, 1},
        {"UpsideGapThreeMethods", {k(100, 106, 99, 105), k(107, 111, 106.5, 110), k(108, 108.5, 105.5, 106)}, 0},
        {"DownsideGapThreeMethods", {k(105, 106, 99, 100), k(98, 98.5, 94, 95), k(97, 104, 96.5, 103)}, -1},
        {"DownsideGapThreeMethods", {k(100, 106, 99, 105), k(107, 111, 106.5, 110), k(108, 108.5, 101, 102)}, 0},
        {"GapSideBySideWhite", {k(100, 103, 99, 102), k(104, 107, 103.5, 106), k(104.2, 107.5, 104, 106.5)}, 1},
        {"GapSideBySideWhite", {k(106, 107, 103, 104), k(100, 103, 99.5, 102), k(100.2, 103, 100, 102.5)}, -1},
        {"GapSideBySideWhite", {k(100, 103, 99, 102), k(104, 107, 103.5, 106), k(106.5, 107.5, 104, 104.2)}, 0},
        {"StickSandwich", {k(105, 106, 99, 100), k(101, 104, 100.5, 103), k(104, 105, 99.5, 100.3)}, 1},
        {"StickSandwich", {k(105, 106, 99, 100), k(101, 104, 99.8, 103), k(104, 105, 99.5, 100.3)}, 0},
        {"TasukiGap", {k(100, 106, 99, 105), k(107, 111, 106.5, 110), k(109, 109.5, 105.5, 106)}, 1},
        {"TasukiGap", {k(105, 106, 99, 100), k(98, 98.5, 94, 95), k(96, 99.5, 95.5, 99)}, -1},
        {"TasukiGap", {k(100, 106, 99, 105), k(107, 111, 106.5, 110), k(109, 109.5, 103.5, 104)}, 0},
        {"ThreeStarsInSouth", {k(110, 111, 100, 105), k(108, 109, 103, 106), k(106, 106, 104, 104)}, 1},
        {"ThreeStarsInSouth", {k(110, 111, 100, 105), k(108, 109, 103, 106), k(106, 106, 102, 102)}, 0},
        {"UniqueThreeRiver", {k(110, 111, 99, 100), k(104, 105, 97, 101), k(98, 100, 97.5, 98.5)}, 1},
        {"UniqueThreeRiver", {k(110, 111, 99, 100), k(104, 105, 97, 101), k(98, 101.5, 97.5, 98.5)}, 0},
        {"TowerTopBottom", {k(100, 106, 99, 105), k(105, 106, 104, 105.5), k(105, 105.5, 99, 100)}, -1},
        {"TowerTopBottom", {k(105, 106, 99, 100), k(100, 101, 99, 100.5), k(100, 106, 99.5, 105)}, 1},
        {"TowerTopBottom", {k(105, 106, 99, 100), k(100, 101, 99, 100.5), k(100, 106, 99.5, 100)}, 0},
        {"Hikkake", {k(100, 110, 90, 105), k(101, 108, 92, 103), k(102, 107, 91, 95)}, 1},
        {"Hikkake", {k(100, 110, 90, 105), k(101, 108, 92, 103), k(104, 109, 93, 108)}, -1},
        {"Hikkake", {k(100, 110, 90, 105), k(101, 108, 92, 103), k(100, 109, 91, 100)}, 0},

        {"ThreeLineStrike",
         {k(100, 103, 99.5, 102.5), k(101, 105, 100.5, 104.5), k(103, 107, 102.5, 106.5), k(107, 107.5, 98, 99)},
         1},
        {"ThreeLineStrike",
         {k(106.5, 107, 103, 104), k(105.5, 106, 101.5, 102), k(103.5, 104, 99.5, 100), k(99.5, 108, 99, 107)},
         -1},
        {"ThreeLineStrike",
         {k(100, 103, 99.5, 102.5), k(101, 105, 100.5, 104.5), k(103, 107, 102.5, 106.5), k(107, 107.5, 100, 100.5)},
         0},
        {"ConcealingBabySwallow",
         {k(110, 110.2, 104.9, 105), k(104, 104.1, 99.9, 100), k(99, 101, 97, 98), k(102, 102.5, 96, 96.5)},
         1},
        {"ConcealingBabySwallow",
         {k(110, 110.2, 104.9, 105), k(104, 104.1, 99.9, 100), k(99, 101, 97, 98), k(102, 102.5, 97, 97.5)},
         0},
        {"HikkakeModified",
         {k(100, 110, 90, 100), k(100, 108, 92, 93), k(95, 106, 94, 100), k(99, 105, 93, 94)},
         1},
        {"HikkakeModified",
         {k(100, 110, 90, 100), k(100, 108, 92, 107), k(95, 106, 94, 100), k(101, 107, 95, 106)},
         -1},
        {"HikkakeModified",
         {k(100, 110, 90, 100), k(100, 108, 92, 100), k(95, 106, 94, 100), k(99, 105, 93, 94)},
         0},

        {"RisingThreeMethods",
         {k(100, 111, 99, 110), k(108, 109, 105.5, 106), k(107, 108, 104.5, 105), k(106, 107, 103.5, 104),
          k(105, 113, 104.5, 112.5)},
         1},
        {"RisingThreeMethods",
         {k(100, 111, 99, 110), k(108, 109, 105.5, 106), k(104, 108, 103.5, 105), k(106, 107, 103.5, 104),
          k(105, 113, 104.5, 112.5)},
         0},
        {"FallingThreeMethods",
         {k(110, 111, 99, 100), k(102, 104.5, 101, 104), k(103, 105.5, 102, 105), k(104, 106.5, 103, 106),
          k(105, 105.5, 97, 97.5)},
         -1},
        {"FallingThreeMethods",
         {k(110, 111, 99, 100), k(102, 104.5, 101, 104), k(103, 105.5, 102, 105), k(104, 106.5, 103, 106),
          k(105, 105.5, 100, 100.5)},
         0},
        {"MatHold",
         {k(100, 111, 99, 110), k(112, 113, 111, 111.5), k(111, 111.5, 107.5, 108), k(108, 109, 106, 107),
          k(107.5, 114, 107, 113.5)},
         1},
        {"MatHold",
         {k(100, 111, 99, 110), k(112, 113, 111, 111.5), k(111, 111.5, 107.5, 108), k(108, 109, 104, 107),
          k(107.5, 114, 107, 113.5)},
         0},
        {"LadderBottom",
         {k(110, 110.5, 105, 106), k(108, 108.5, 103, 104), k(106, 106.5, 101, 102), k(101, 102, 99, 100),
          k(102, 104, 101.5, 103.5)},
         1},
        {"LadderBottom",
         {k(110, 110.5, 105, 106), k(108, 108.5, 103, 104), k(106, 106.5, 101, 102), k(101, 101, 99, 100),
          k(102, 104, 101.5, 103.5)},
         0},
        {"Breakaway",
         {k(110, 111, 104, 105), k(103, 103.5, 100, 101), k(100.5, 101, 98, 99), k(99, 99.5, 96, 97),
          k(97, 104.5, 96.5, 104)},
         1},
        {"Breakaway",
         {k(105, 111, 104, 110), k(112, 115, 111.5, 114), k(115, 117, 114, 116), k(117, 119, 116, 118),
          k(118, 118.5, 110.5, 111)},
         -1},
        {"Breakaway",
         {k(110, 111, 104, 105), k(103, 103.5, 100, 101), k(100.5, 101, 98, 99), k(99, 99.5, 96, 97),
          k(97, 106.5, 96.5, 106)},
         0},

        {"LongLine", five_ranges_then(k(100, 104, 99, 103.5)), 1},
        {"LongLine", five_ranges_then(k(103.5, 104, 99, 100)), -1},
        {"LongLine", five_ranges_then(k(100, 104, 99, 101)), 0},
        {"ShortLine", five_ranges_then(k(100, 100.5, 99.5, 100.5)), 1},
        {"ShortLine", five_ranges_then(k(100.5, 100.5, 99.5, 100)), -1},
        {"ShortLine", five_ranges_then(k(100, 104, 99, 103.5)), 0},
        {"ShortLine", five_ranges_then(k(100, 100, 100, 100)), 0},  // a flat candle is neither colour
    };
    return cases;
}

// Every formation of the cases one after another, then varied candles.
std::vector<Candle> busy_series() {
    std::vector<Candle> out;
    for (const Formation& c : signal_cases()) out.insert(out.end(), c.bars.begin(), c.bars.end());
    const std::vector<Candle> tail = mixed_series(40);
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

}  // namespace

TEST(CandlestickFamily, EveryMemberIsBuiltAndIgnoresParameters) {
    std::size_t members = 0;
    for (const CatalogueEntry& e : catalogue()) {
        if (e.family != "candlestick") continue;
        ++members;
        const std::string name(e.name);
        ASSERT_TRUE(lengths().count(name)) << name;
        EXPECT_EQ(create_error(name, {NaN, -3, 2.5}), "ok") << name;
        auto ind = make(name, {});
        ASSERT_TRUE(ind) << name;
        EXPECT_EQ(ind->warmup_period(), lengths().at(name)) << name;
        EXPECT_EQ(ind->output_count(), 0u) << name;
        EXPECT_EQ(ind->input_kind(), InputKind::Candle) << name;
    }
    EXPECT_EQ(members, lengths().size());
}

TEST(CandlestickFamily, FirstValueThenAValueOnEveryCandle) {
    const std::vector<Candle> series = busy_series();
    for (const auto& [name, length] : lengths()) {
        const std::vector<double> values = run_candles(name, {}, series);
        ASSERT_EQ(first_value_at(values), first_value(name)) << name;
        for (std::size_t i = first_value(name) - 1; i < values.size(); ++i)
            EXPECT_TRUE(values[i] == 0.0 || values[i] == 1.0 || values[i] == -1.0) << name << " step " << i + 1;
    }
}

TEST(CandlestickFamily, InvalidCandlesAreSkippedWithoutStateChange) {
    const std::vector<Candle> clean = busy_series();
    const std::vector<Candle> invalid = {k(100, 101, 99, NaN), k(100, 99, 101, 100), candle(100, 101, 99, 100, -1),
                                         k(102, 101, 99, 100)};
    std::vector<Candle> mixed;
    std::vector<bool> valid;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        if (i % 3 == 1) {
            mixed.push_back(invalid[i % invalid.size()]);
            valid.push_back(false);
        }
        mixed.push_back(clean[i]);
        valid.push_back(true);
    }
    for (const auto& [name, length] : lengths()) {
        const std::vector<double> want = run_candles(name, {}, clean);
        EXPECT_NE(std::count_if(want.begin(), want.end(), [](double v) { return v == 1.0 || v == -1.0; }), 0) << name;
        const std::vector<double> got = run_candles(name, {}, mixed);
        std::size_t j = 0;
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (!valid[i]) {
                EXPECT_TRUE(std::isnan(got[i])) << name << " step " << i + 1;
                continue;
            }
            if (std::isnan(want[j])) EXPECT_TRUE(std::isnan(got[i])) << name << " step " << i + 1;
            else EXPECT_EQ(got[i], want[j]) << name << " step " << i + 1;
            ++j;
        }
    }
}

TEST(CandlestickFamily, SameRulesGiveSameSeries) {
    std::vector<Candle> series = mixed_series(300);
    // Make sure both shapes occur.
    series.push_back(k(108, 110, 100, 109));
    series.push_back(k(101, 110, 100, 102));
    for (const auto& [a, b] : {std::pair{"Hammer", "HangingMan"}, std::pair{"InvertedHammer", "ShootingStar"}}) {
        const std::vector<double> x = run_candles(a, {}, series);
        EXPECT_EQ(x, run_candles(b, {}, series)) << a;
        EXPECT_NE(std::count(x.begin(), x.end(), 1.0), 0) << a;
    }
}

TEST(CandlestickPatterns, Signals) {
    for (const Formation& c : signal_cases()) {
        const std::vector<double> values = run_candles(c.name, {}, c.bars);
        ASSERT_EQ(values.size(), c.bars.size());
        EXPECT_EQ(first_value_at(values), c.bars.size()) << describe(c);
        EXPECT_EQ(values.back(), c.want) << describe(c);
    }
}

TEST(CandlestickPatterns, HistoryFollowsAcceptedCandles) {
    // The invalid candle between the two is skipped; the engulfing compares with the last valid one.
    const std::vector<double> got =
        run_candles("Engulfing", {}, {k(102, 103, 99, 100), k(100, 99, 101, 100), k(99.5, 103, 99, 102.5),
                                      k(103, 104, 99, 99)});
    ASSERT_EQ(got.size(), 4u);
    EXPECT_TRUE(std::isnan(got[0]));
    EXPECT_TRUE(std::isnan(got[1]));
    EXPECT_EQ(got[2], 1.0);
    EXPECT_EQ(got[3], -1.0);
}

TEST(CandlestickPatterns, RangeLinesAverageTheFivePreviousRanges) {
    // Ranges 2,2,2,2,2,5 then 2.5: the seventh compares with the mean 2.6 of the five before it.
    std::vector<Candle> bars = five_ranges_then(k(100, 104, 99, 103.5));
    bars.push_back(k(100, 102.5, 100, 102.5));
    const std::vector<double> long_line = run_candles("LongLine", {}, bars);
    const std::vector<double> short_line = run_candles("ShortLine", {}, bars);
    EXPECT_EQ(long_line[5], 1.0);
    EXPECT_EQ(long_line[6], 0.0);
    EXPECT_EQ(short_line[5], 0.0);
    EXPECT_EQ(short_line[6], 1.0);
}

TEST(CandlestickPatterns, EqualRangesAverageToThemselves) {
    // Five 7.22 sum to 36.1 whose fifth is 7.220000000000001, five 6.52 to 6.519999999999999:
    // neither residue may make an equal range shorter or longer.
    for (double r : {7.22, 6.52}) {
        std::vector<Candle> bars(5, k(0, r, 0, r / 2));
        bars.push_back(k(0, r, 0, r));
        EXPECT_EQ(run_candles("LongLine", {}, bars).back(), 0.0) << r;
        EXPECT_EQ(run_candles("ShortLine", {}, bars).back(), 0.0) << r;
    }
}
