#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "feed.hpp"

using namespace ostrel;
using namespace ostrel::testing;

namespace {

// Positive prices with gaps between one close and the next open, and positive volumes.
std::vector<Candle> random_candles(std::size_t n, unsigned seed = 11) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> step(-1.5, 1.5);
    std::uniform_real_distribution<double> wick(0.0, 0.9);
    std::uniform_real_distribution<double> volume(10.0, 1000.0);
    std::vector<Candle> out;
    double x = 100.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double open = x + step(rng) * 0.3;
        x += step(rng);
        out.push_back(candle(open, std::max(open, x) + wick(rng), std::min(open, x) - wick(rng), x, volume(rng)));
    }
    return out;
}

// Every output of every step: the primary value, then the named outputs.
std::vector<std::vector<double>> run_all(Indicator& ind, const std::vector<Candle>& candles) {
    std::vector<std::vector<double>> out;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        const auto v = ind.update(s);
        std::vector<double> row{v.value_or(NaN)};
        if (v)
            for (const auto& [name, value] : ind.extra_outputs()) row.push_back(value);
        out.push_back(row);
    }
    return out;
}

// Same values, NaN standing for "no value" on both sides.
void expect_same(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_EQ(got[i], want[i]) << what << " step " << i + 1;
    }
}

void expect_close(const std::vector<double>& got, const std::vector<double>& want, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (std::isnan(want[i])) EXPECT_TRUE(std::isnan(got[i])) << what << " step " << i + 1 << ": " << got[i];
        else EXPECT_NEAR(got[i], want[i], 1e-9 * std::max(1.0, std::fabs(want[i]))) << what << " step " << i + 1;
    }
}

// Plain references over series whose missing steps are NaN.
std::vector<double> sma(const std::vector<double>& v, std::size_t n) {
    std::vector<double> out(v.size(), NaN), seen;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (std::isnan(v[i])) continue;
        seen.push_back(v[i]);
        if (seen.size() < n) continue;
        double s = 0.0;
        for (std::size_t j = seen.size() - n; j < seen.size(); ++j) s += seen[j];
        out[i] = s / static_cast<double>(n);
    }
    return out;
}
// Exponential average with the given alpha, seeded with the mean of its first `seed` values.
std::vector<double> ema(const std::vector<double>& v, std::size_t seed, double alpha) {
    std::vector<double> out(v.size(), NaN);
    std::size_t count = 0;
    double e = 0.0;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (std::isnan(v[i])) continue;
        if (++count < seed) {
            e += v[i];
            continue;
        }
        e = count == seed ? (e + v[i]) / static_cast<double>(seed) : alpha * v[i] + (1.0 - alpha) * e;
        out[i] = e;
    }
    return out;
}
std::vector<double> ema(const std::vector<double>& v, std::size_t n) {
    return ema(v, n, 2.0 / (static_cast<double>(n) + 1.0));
}
std::vector<double> minus(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> out;
    for (std::size_t i = 0; i < a.size(); ++i) out.push_back(a[i] - b[i]);
    return out;
}
// f(candle, previous candle) from the second candle on.
template <class F>
std::vector<double> per_change(const std::vector<Candle>& cs, F f) {
    std::vector<double> out{NaN};
    for (std::size_t i = 1; i < cs.size(); ++i) out.push_back(f(cs[i], cs[i - 1]));
    return out;
}
template <class F>
std::vector<double> running_total(const std::vector<Candle>& cs, F f) {
    std::vector<double> steps = per_change(cs, f), out;
    double total = 0.0;
    for (double s : steps) out.push_back(std::isnan(s) ? total : total += s);
    return out;
}
double clv(const Candle& c) {
    return c.high == c.low ? 0.0 : ((c.close - c.low) - (c.high - c.close)) / (c.high - c.low);
}
double wad_step(const Candle& c, const Candle& p) {
    if (c.close > p.close) return c.close - std::min(c.low, p.close);
    if (c.close < p.close) return c.close - std::max(c.high, p.close);
    return 0.0;
}
std::vector<double> wad(const std::vector<Candle>& cs) {
    auto out = running_total(cs, wad_step);
    out[0] = NaN;
    return out;
}
std::vector<double> adl(const std::vector<Candle>& cs) {
    std::vector<double> out;
    double total = 0.0;
    for (const Candle& c : cs) out.push_back(total += c.volume * clv(c));
    return out;
}
double sign_of_move(const Candle& c, const Candle& p) { return c.close > p.close ? 1.0 : c.close < p.close ? -1.0 : 0.0; }
std::vector<double> volumes(const std::vector<Candle>& cs) {
    std::vector<double> out;
    for (const Candle& c : cs) out.push_back(c.volume);
    return out;
}

std::vector<double> kvo(const std::vector<Candle>& cs, std::size_t fast, std::size_t slow) {
    std::vector<double> force{NaN};
    double trend = 0.0, cm = 0.0;
    for (std::size_t i = 1; i < cs.size(); ++i) {
        const Candle &c = cs[i], &p = cs[i - 1];
        const double t = c.high + c.low + c.close > p.high + p.low + p.close ? 1.0 : -1.0;
        const double dm = c.high - c.low;
        cm = t == trend ? cm + dm : (p.high - p.low) + dm;
        trend = t;
        force.push_back(cm == 0.0 ? 0.0 : c.volume * std::fabs(2.0 * (dm / cm - 1.0)) * t * 100.0);
    }
    return minus(ema(force, fast), ema(force, slow));
}

std::vector<double> twiggs(const std::vector<Candle>& cs, std::size_t n) {
    std::vector<double> ad{NaN}, vol{NaN};
    for (std::size_t i = 1; i < cs.size(); ++i) {
        const Candle &c = cs[i], &p = cs[i - 1];
        const double h = std::max(c.high, p.close), l = std::min(c.low, p.close);
        ad.push_back(h - l <= 0.0 ? 0.0 : c.volume * (2.0 * c.close - h - l) / (h - l));
        vol.push_back(c.volume);
    }
    // avg += (x − avg)/N is an exponential average with alpha 1/N.
    const auto a = ema(ad, n, 1.0 / static_cast<double>(n));
    const auto v = ema(vol, n, 1.0 / static_cast<double>(n));
    std::vector<double> out;
    for (std::size_t i = 0; i < cs.size(); ++i) out.push_back(v[i] == 0.0 ? 0.0 : a[i] / v[i]);
    return out;
}

std::vector<double> demand_index(const std::vector<Candle>& cs, std::size_t n) {
    std::vector<double> out(cs.size(), NaN), ranges;
    const double alpha = 2.0 / (static_cast<double>(n) + 1.0);
    double b = NaN, s = NaN, last = 0.0;
    auto price = [](const Candle& c) { return (2.0 * c.close + c.high + c.low) / 4.0; };
    for (std::size_t i = 1; i < cs.size(); ++i) {
        const Candle &c = cs[i], &p = cs[i - 1];
        ranges.push_back(std::max(c.high, p.high) - std::min(c.low, p.low));
        if (ranges.size() < n) continue;
        double range_sum = 0.0, volume_sum = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            range_sum += ranges[ranges.size() - 1 - j];
            volume_sum += cs[i - j].volume;
        }
        const double avg_range = range_sum / static_cast<double>(n), avg_volume = volume_sum / static_cast<double>(n);
        const double pc = price(c), pp = price(p);
        if (pc != 0.0 && pp != 0.0 && avg_range != 0.0 && avg_volume != 0.0) {
            const double dp = (pc - pp) / std::min(pc, pp);
            const double vr = c.volume / avg_volume;
            const double k = std::exp(std::min(std::fabs(dp) * 3.0 * pc / avg_range, 88.0));
            const double bp = dp > 0.0 ? vr : vr / k, sp = dp > 0.0 ? vr / k : vr;
            b = std::isnan(b) ? bp : alpha * bp + (1.0 - alpha) * b;
            s = std::isnan(s) ? sp : alpha * sp + (1.0 - alpha) * s;
            last = b > s ? (1.0 - s / b) * 100.0 : b < s ? (1.0 - b / s) * -100.0 : 0.0;
        }
        out[i] = last;
    }
    return out;
}

std::vector<double> tsv(const std::vector<Candle>& cs, std::size_t n) {
    const auto flows = per_change(cs, [](const Candle& c, const Candle& p) { return c.volume * (c.close - p.close); });
    auto out = sma(flows, n);
    for (double& v : out) v *= static_cast<double>(n);
    return out;
}

}  // namespace

TEST(VolumeConstruction, Messages) {
    const std::string too_long = "invalid period: period exceeds the maximum supported window length (see MAX_PERIOD)";
    struct Row {
        Case c;
        std::string detail;  // after "invalid parameters for indicator {name}: "; "ok" for success
    };
    const std::vector<Row> rows = {
        {{"ChaikinOscillator", {10, 3}}, "invalid period: Chaikin Oscillator needs fast < slow"},
        {{"ChaikinOscillator", {3, 3}}, "invalid period: Chaikin Oscillator needs fast < slow"},
        {{"ChaikinOscillator", {3, 16777217}}, too_long},
        {{"ChaikinOscillator", {16777218, 16777217}}, "invalid period: Chaikin Oscillator needs fast < slow"},
        {{"ChaikinOscillator", {1e-20, 3}}, "period must be greater than zero"},
        {{"ChaikinOscillator", {3, 16777216}}, "ok"},
        {{"Kvo", {55, 34}}, "invalid period: KVO needs fast < slow"},
        {{"Kvo", {34, 1e-20}}, "period must be greater than zero"},
        {{"Kvo", {34, 16777217}}, too_long},
        {{"VolumeOscillator", {10, 10}}, "invalid period: VolumeOscillator needs fast < slow"},
        {{"VolumeOscillator", {5, 16777217}}, too_long},
        {{"TradeVolumeIndex", {-0.01}}, "invalid parameter: trade volume index min_tick must be finite and non-negative"},
        {{"TradeVolumeIndex", {Inf}}, "parameter #0 must be finite"},
        {{"TradeVolumeIndex", {0}}, "ok"},
        {{"TradeVolumeIndex", {-0.0}}, "ok"},
        {{"DemandIndex", {1e-20}}, "period must be greater than zero"},
        {{"DemandIndex", {16777217}}, too_long},
        {{"DemandIndex", {16777216}}, "ok"},
        {{"Kvo", {1, 2}}, "ok"},
    };
    for (const auto& r : rows) {
        const std::string want =
            r.detail == "ok" ? "ok" : "invalid parameters for indicator " + std::string(r.c.name) + ": " + r.detail;
        EXPECT_EQ(create_error(r.c.name, r.c.params), want) << label(r.c);
    }
    // Every windowed member checks its window the same way.
    for (const char* name : {"EaseOfMovement", "ForceIndex", "TwiggsMoneyFlow", "Vzo", "Tsv", "BetterVolume",
                             "CandleVolume", "Equivolume"}) {
        const std::string prefix = "invalid parameters for indicator " + std::string(name) + ": ";
        EXPECT_EQ(create_error(name, {16777217}), prefix + too_long) << name;
        EXPECT_EQ(create_error(name, {1e-20}), prefix + "period must be greater than zero") << name;
        EXPECT_EQ(create_error(name, {16777216}), "ok") << name;
    }
}

namespace {

// Every member with the step of its first value.
const std::vector<std::pair<Case, std::size_t>> WARMUPS = {
    {{"Obv", {}}, 1},
    {{"Adl", {}}, 1},
    {{"AdOscillator", {}}, 14},
    {{"Nvi", {}}, 1},
    {{"Pvi", {}}, 1},
    {{"VolumePriceTrend", {}}, 1},
    {{"Wad", {}}, 2},
    {{"BalanceOfPower", {}}, 1},
    {{"IntradayIntensity", {}}, 1},
    {{"MarketFacilitationIndex", {}}, 1},
    {{"EaseOfMovement", {5}}, 6},
    {{"ChaikinOscillator", {3, 10}}, 10},
    {{"ForceIndex", {5}}, 6},
    {{"Kvo", {3, 10}}, 11},
    {{"TwiggsMoneyFlow", {5}}, 6},
    {{"Vzo", {5}}, 6},
    {{"VolumeOscillator", {3, 10}}, 10},
    {{"DemandIndex", {5}}, 6},
    {{"Tsv", {5}}, 6},
    {{"BetterVolume", {5}}, 5},
    {{"CandleVolume", {5}}, 5},
    {{"Equivolume", {5}}, 5},
    {{"TradeVolumeIndex", {0.1}}, 2},
};

}  // namespace

TEST(VolumeWarmup, FirstValueThenEveryCandle) {
    const auto candles = random_candles(40);
    for (const auto& [c, warmup] : WARMUPS) {
        auto ind = make(c.name, c.params);
        ASSERT_TRUE(ind) << label(c);
        EXPECT_EQ(ind->warmup_period(), warmup) << label(c);
        const auto values = run_candles(*ind, candles);
        EXPECT_EQ(first_value_at(values), warmup) << label(c);
        for (std::size_t i = warmup; i < values.size(); ++i)
            EXPECT_TRUE(std::isfinite(values[i])) << label(c) << " step " << i + 1;
    }
}

// Unusable candles between the valid ones give nothing and leave every later value as it was.
TEST(VolumeSkipping, InvalidCandlesChangeNothing) {
    const auto candles = random_candles(40, 3);
    const std::vector<Candle> invalid = {
        candle(100, 101, 99, NaN, 50),   candle(100, 101, 99, 100, -1), candle(100, 99, 101, 100, 50),
        candle(100, 101, 99, 100, Inf),  candle(100, Inf, 99, 100, 50), candle(100, 101, 99, 102, 50),
    };
    for (const auto& [c, warmup] : WARMUPS) {
        auto plain = make(c.name, c.params);
        auto mixed = make(c.name, c.params);
        ASSERT_TRUE(plain && mixed) << label(c);
        const auto want = run_all(*plain, candles);
        for (std::size_t i = 0; i < candles.size(); ++i) {
            for (const Candle& bad : invalid) EXPECT_TRUE(std::isnan(run_all(*mixed, {bad})[0][0])) << label(c);
            const auto got = run_all(*mixed, {candles[i]})[0];
            ASSERT_EQ(got.size(), want[i].size()) << label(c) << " step " << i + 1;
            expect_same(got, want[i], label(c) + " step " + std::to_string(i + 1));
        }
    }
}

TEST(VolumeLines, KnownValues) {
    // Closes 10, 11, 11, 10, 12 over rising volumes.
    const std::vector<Candle> moves = {
        candle(10, 10.5, 9.5, 10, 100), candle(10, 11.5, 9.5, 11, 200), candle(11, 11.5, 10, 11, 300),
        candle(11, 11.5, 9.5, 10, 400), candle(10, 12.5, 10, 12, 500),
    };
    struct Example {
        Case c;
        std::vector<Candle> candles;
        std::vector<double> want;
    };
    const std::vector<Example> examples = {
        // The first candle gives 0; an unchanged close adds nothing.
        {{"Obv", {}}, moves, {0, 200, 200, -200, 300}},
        // CLV 0.5 then a zero range (ignored), then −0.5.
        {{"Adl", {}},
         {candle(10, 12, 8, 11, 100), candle(10, 10, 10, 10, 1000), candle(10, 12, 8, 9, 200)},
         {50, 50, -50}},
        // Volume falls into the move to 11 (+10 %), then rises into the fall to 99.
        {{"Nvi", {}}, {bar(100, 10), bar(110, 5), bar(99, 20)}, {1000, 1100, 1100}},
        {{"Pvi", {}}, {bar(100, 10), bar(110, 5), bar(99, 20)}, {1000, 1000, 900}},
        // Nvi stays at 1000 while volume rises, Pvi while it falls; a previous close of 0 holds.
        {{"Nvi", {}}, {bar(100, 1), bar(120, 2), bar(90, 3)}, {1000, 1000, 1000}},
        {{"Pvi", {}}, {bar(100, 3), bar(120, 2), bar(90, 1)}, {1000, 1000, 1000}},
        {{"Pvi", {}}, {candle(0, 1, 0, 0, 1), bar(5, 2)}, {1000, 1000}},
        {{"VolumePriceTrend", {}}, {bar(100, 10), bar(110, 20), bar(99, 30)}, {0, 2, -1}},
        {{"VolumePriceTrend", {}}, {candle(0, 1, 0, 0, 1), bar(5, 2), bar(10, 2)}, {0, 0, 2}},
        // Up close: 11 − min(9, 10); down close: 9 − max(11.5, 11); unchanged: 0.
        {{"Wad", {}},
         {candle(10, 10, 10, 10), candle(10, 12, 9, 11), candle(11, 11.5, 8, 9), candle(9, 10, 8, 9)},
         {NaN, 2, -0.5, -0.5}},
        {{"BalanceOfPower", {}}, {candle(10, 12, 8, 11), candle(7, 7, 7, 7), candle(11, 12, 8, 9)}, {0.25, 0, -0.5}},
        {{"IntradayIntensity", {}}, {candle(10, 12, 8, 11, 100), candle(7, 7, 7, 7, 100)}, {50, 0}},
        {{"MarketFacilitationIndex", {}}, {candle(10, 12, 8, 11, 2), candle(10, 12, 8, 11, 0)}, {2, NaN}},
        // The direction starts at 0, turns only on moves beyond 0.5 and holds in between.
        {{"TradeVolumeIndex", {0.5}},
         {bar(10, 5), bar(10.4, 7), bar(11, 10), bar(10.8, 20), bar(10, 30), bar(10.5, 40)},
         {NaN, 0, 10, 30, 0, -40}},
    };
    for (const auto& e : examples) expect_close(run_candles(e.c.name, e.c.params, e.candles), e.want, label(e.c));
}

// Ranges beyond the largest double still give the ratios their prices imply.
TEST(VolumeLines, HugeRanges) {
    const Candle wide = candle(-1e308, 1.6e308, -1.6e308, 1.2e308, 2);
    EXPECT_NEAR(run_candles("BalanceOfPower", {}, {wide})[0], 2.2 / 3.2, 1e-12);
    EXPECT_NEAR(run_candles("Adl", {}, {wide})[0], 2 * 2.4 / 3.2, 1e-12);
    EXPECT_NEAR(run_candles("IntradayIntensity", {}, {wide})[0], 2 * 2.4 / 3.2, 1e-12);
    EXPECT_NEAR(run_candles("MarketFacilitationIndex", {}, {wide})[0] / 1.6e308, 1.0, 1e-12);
}

// Cases against plain computations of their definitions over random candles.
TEST(VolumeOscillators, MatchReferences) {
    const auto cs = random_candles(120, 5);
    const std::size_t n = 7;
    std::vector<double> force, emv{NaN}, signed_volume{NaN}, vol{NaN};
    force = per_change(cs, [](const Candle& c, const Candle& p) { return (c.close - p.close) * c.volume; });
    for (std::size_t i = 1; i < cs.size(); ++i) {
        const double m = (cs[i].high + cs[i].low) / 2, mp = (cs[i - 1].high + cs[i - 1].low) / 2;
        emv.push_back((m - mp) * (cs[i].high - cs[i].low) * 1e8 / cs[i].volume);
        signed_volume.push_back(sign_of_move(cs[i], cs[i - 1]) * cs[i].volume);
        vol.push_back(cs[i].volume);
    }
    std::vector<double> vzo;
    const auto sv_avg = ema(signed_volume, n), v_avg = ema(vol, n);
    for (std::size_t i = 0; i < cs.size(); ++i) vzo.push_back(100 * sv_avg[i] / v_avg[i]);
    std::vector<double> vosc;
    const auto fast = sma(volumes(cs), 3), slow = sma(volumes(cs), 10);
    for (std::size_t i = 0; i < cs.size(); ++i) vosc.push_back((fast[i] - slow[i]) * 100 / slow[i]);

    const auto line = wad(cs);
    const std::vector<std::pair<Case, std::vector<double>>> refs = {
        {{"AdOscillator", {}}, minus(line, sma(line, 13))},
        {{"ChaikinOscillator", {3, 10}}, minus(ema(adl(cs), 3), ema(adl(cs), 10))},
        {{"ForceIndex", {7}}, ema(force, n)},
        {{"EaseOfMovement", {7}}, sma(emv, n)},
        {{"Kvo", {3, 10}}, kvo(cs, 3, 10)},
        {{"TwiggsMoneyFlow", {7}}, twiggs(cs, n)},
        {{"Vzo", {7}}, vzo},
        {{"VolumeOscillator", {3, 10}}, vosc},
        {{"DemandIndex", {7}}, demand_index(cs, n)},
        {{"Tsv", {7}}, tsv(cs, n)},
    };
    for (const auto& [c, want] : refs) expect_close(run_candles(c.name, c.params, cs), want, label(c));
}

// The demand index compares each candle with the one before it, so it moves with the market.
TEST(VolumeOscillators, DemandIndexFollowsMoves) {
    std::vector<Candle> rising, falling;
    for (int i = 0; i < 12; ++i) {
        rising.push_back(bar(100 + i, 100 + 10 * (i % 3)));
        falling.push_back(bar(100 - i, 100 + 10 * (i % 3)));
    }
    const auto up = run_candles("DemandIndex", {3}, rising);
    const auto down = run_candles("DemandIndex", {3}, falling);
    for (std::size_t i = 3; i < up.size(); ++i) {
        EXPECT_GT(up[i], 0.0) << "step " << i + 1;
        EXPECT_LT(down[i], 0.0) << "step " << i + 1;
    }
}

// Windows without volume or without movement read their documented values, never residue.
TEST(VolumeDegenerate, QuietWindows) {
    auto cs = random_candles(30, 9);
    const std::size_t busy = cs.size();
    const double last_close = cs.back().close;
    for (int i = 0; i < 20; ++i) cs.push_back(candle(last_close, last_close + 1, last_close - 1, last_close, 0));
    struct Quiet {
        Case c;
        double want;  // on the last candle
    };
    const std::vector<Quiet> quiet = {
        {{"VolumeOscillator", {3, 10}}, 0.0},
        {{"Tsv", {5}}, 0.0},
        {{"TwiggsMoneyFlow", {5}}, NaN},  // decays with its volume average: a ratio, not a 0/0
        {{"AdOscillator", {}}, 0.0},
        {{"ForceIndex", {5}}, NaN},
        {{"EaseOfMovement", {5}}, 0.0},
    };
    for (const auto& q : quiet) {
        const auto v = run_candles(q.c.name, q.c.params, cs);
        EXPECT_TRUE(std::isfinite(v.back())) << label(q.c);
        if (!std::isnan(q.want)) {
            EXPECT_EQ(v.back(), q.want) << label(q.c);
        }
    }
    // The demand index holds its last value once the volume window is empty.
    const auto di = run_candles("DemandIndex", {5}, cs);
    EXPECT_NE(di[busy - 1], 0.0);
    for (std::size_t i = busy + 5; i < cs.size(); ++i) EXPECT_EQ(di[i], di[busy + 4]) << "step " << i + 1;

    // Steady volumes: the averages are exactly equal.
    std::vector<Candle> steady = random_candles(30, 4);
    for (Candle& c : steady) c.volume = 0.1;
    EXPECT_EQ(run_candles("VolumeOscillator", {3, 10}, steady).back(), 0.0);
    // No volume from the start: the zero-volume fallbacks.
    std::vector<Candle> empty = random_candles(30, 4);
    for (Candle& c : empty) c.volume = 0.0;
    for (const Case& c : std::vector<Case>{{"VolumeOscillator", {3, 10}},
                                           {"TwiggsMoneyFlow", {5}},
                                           {"Vzo", {5}},
                                           {"DemandIndex", {5}},
                                           {"Tsv", {5}},
                                           {"Kvo", {3, 10}}}) {
        const auto v = run_candles(c.name, c.params, empty);
        EXPECT_EQ(v.back(), 0.0) << label(c);
    }
}

// Two zero-range candles at a turn leave the Klinger accumulator at 0: the force is 0 there,
// not a NaN that would stay in both averages.
TEST(VolumeDegenerate, KvoZeroRanges) {
    std::vector<Candle> cs = random_candles(20, 2);
    cs.push_back(candle(50, 50, 50, 50, 100));
    cs.push_back(candle(60, 60, 60, 60, 100));
    cs.push_back(candle(40, 40, 40, 40, 100));
    for (const Candle& c : random_candles(10, 8)) cs.push_back(c);
    const auto v = run_candles("Kvo", {3, 10}, cs);
    for (std::size_t i = 10; i < v.size(); ++i) EXPECT_TRUE(std::isfinite(v[i])) << "step " << i + 1;
    expect_close(v, kvo(cs, 3, 10), "Kvo(3,10)");
}

TEST(VolumeBars, BetterVolumeClasses) {
    // Three earlier candles: volumes 100, 200, 150 over ranges 2, 1, 3 (r·v 200, 200, 450;
    // v/r 50, 200, 50).
    const std::vector<Candle> base = {candle(10, 11, 9, 10, 100), candle(10, 10.5, 9.5, 10, 200),
                                      candle(10, 11.5, 8.5, 10, 150)};
    struct Example {
        const char* what;
        Candle last;
        double want;
    };
    const std::vector<Example> examples = {
        {"climax with churn", candle(10, 12, 9, 11, 1000), 4},  // r·v 3000, v/r 333
        {"up climax", candle(10, 15, 5, 11, 250), 3},          // r·v 2500, v/r 25
        {"down climax", candle(11, 15, 5, 10, 250), -3},
        {"churn", candle(10, 10.5, 10, 10, 150), 2},  // r·v 75, v/r 300
        {"low volume", candle(10, 11, 9, 10, 50), 1},  // r·v 100, v/r 25
        {"ordinary", candle(10, 11, 9, 10, 120), 0},   // r·v 240, v/r 60
        {"no range", candle(10, 10, 10, 10, 0), 1},    // r·v 0, lowest volume
    };
    for (const auto& e : examples) {
        auto cs = base;
        cs.push_back(e.last);
        const auto v = run_candles("BetterVolume", {4}, cs);
        EXPECT_TRUE(std::isnan(v[2])) << e.what;
        EXPECT_EQ(v[3], e.want) << e.what;
    }
    // A period of 1 compares with nothing: every candle is a climax, with churn when it has a range.
    EXPECT_EQ(run_candles("BetterVolume", {1}, {candle(10, 11, 9, 9, 5)})[0], 4.0);
    EXPECT_EQ(run_candles("BetterVolume", {1}, {candle(10, 10, 10, 10, 5)})[0], 3.0);
}

TEST(VolumeBars, NamedOutputs) {
    for (const auto& [name, outputs] : {std::pair{"CandleVolume", "body,width"}, std::pair{"Equivolume", "height,width"}}) {
        auto ind = make(name, {3});
        ASSERT_TRUE(ind);
        EXPECT_EQ(ind->output_names(), outputs) << name;
        const auto rows = run_all(*ind, {candle(10, 12, 9, 11, 100), candle(11, 13, 10, 10, 200),
                                         candle(10, 11, 8, 10.5, 300), candle(10, 11, 8, 10.5, 0)});
        EXPECT_TRUE(std::isnan(rows[1][0])) << name;
        ASSERT_EQ(rows[2].size(), 3u) << name;
        const double span = std::string(name) == "CandleVolume" ? 0.5 : 3.0;
        EXPECT_EQ(rows[2], (std::vector<double>{span, span, 300.0 / 200.0})) << name;
        EXPECT_EQ(rows[3], (std::vector<double>{span, span, 0.0})) << name;
        // Equal volumes give a width of exactly 1; no volume at all a width of 0.
        EXPECT_EQ(run_all(*make(name, {3}), std::vector<Candle>(5, bar(10, 0.1))).back().back(), 1.0) << name;
        EXPECT_EQ(run_all(*make(name, {3}), std::vector<Candle>(5, bar(10, 0.0))).back().back(), 0.0) << name;
    }
}
