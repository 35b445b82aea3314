// Nanoseconds per update of the windowed rolling statistics at periods 20 and 500, through
// create_indicator and Indicator::run over a SeriesView of a random walk. Members that scan
// or pair up their whole window per step run over a shorter series. Process CPU time is
// shown, wall time in brackets (on a shared machine it also counts other processes).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "indicators/core/registry.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t CLOSES = 1'000'000;
constexpr int ROUNDS = 3;  // best of, each with a fresh indicator

std::vector<ostrel::Candle> random_walk(std::size_t n) {
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0.0, 0.5);
    std::vector<ostrel::Candle> out(n);
    double close = 100.0;
    std::int64_t ts = 1'700'000'000'000;
    for (auto& c : out) {
        const double open = close;
        close = std::max(1.0, close + step(rng));
        c = {ts, open, std::max(open, close) + 0.1, std::min(open, close) - 0.1, close, 1000.0};
        ts += 60'000;
    }
    return out;
}

struct Timing {
    double cpu = 1e300;   // ns per update
    double wall = 1e300;  // ns per update
};

// `sink` keeps the results observable.
Timing batch(const std::string& name, const std::vector<double>& params, const ostrel::SeriesView& series,
             double& sink) {
    std::vector<double> column(series.candles.size());
    double* columns[] = {column.data()};
    Timing best;
    for (int r = 0; r < ROUNDS; ++r) {
        auto ind = std::move(*ostrel::create_indicator(name, params));
        const std::clock_t cpu0 = std::clock();
        const auto wall0 = Clock::now();
        ind->run(series, columns);
        const auto wall1 = Clock::now();
        const std::clock_t cpu1 = std::clock();
        sink += column.back();
        const double n = static_cast<double>(column.size());
        best.cpu = std::min(best.cpu, 1e9 * static_cast<double>(cpu1 - cpu0) / CLOCKS_PER_SEC / n);
        best.wall = std::min(best.wall, std::chrono::duration<double, std::nano>(wall1 - wall0).count() / n);
    }
    return best;
}

}  // namespace

int main() {
    const auto candles = random_walk(CLOSES);

    struct Case {
        const char* name;
        std::vector<double> extra;  // parameters after the period
        std::size_t closes;         // series length at period 500 (20·that at period 20, at most CLOSES)
    };
    const Case cases[] = {
        {"Variance", {}, CLOSES},
        {"StdDev", {}, CLOSES},
        {"ZScore", {}, CLOSES},
        {"CoefficientOfVariation", {}, CLOSES},
        {"Skewness", {}, CLOSES},
        {"Kurtosis", {}, CLOSES},
        {"JarqueBera", {}, 200'000},
        {"LinRegSlope", {}, CLOSES},
        {"LinRegAngle", {}, CLOSES},
        {"LinRegIntercept", {}, CLOSES},
        {"LinearRegression", {}, CLOSES},
        {"Tsf", {}, CLOSES},
        {"TsfOscillator", {}, CLOSES},
        {"RSquared", {}, CLOSES},
        {"StandardError", {}, 200'000},
        {"DetrendedStdDev", {}, 200'000},
        {"RollingQuantile", {0.9}, CLOSES},
        {"RollingIqr", {}, CLOSES},
        {"MedianAbsoluteDeviation", {}, CLOSES},
        {"RollingPercentileRank", {}, 200'000},
        {"RollingMinMaxScaler", {}, 200'000},
        {"LogReturn", {}, CLOSES},
        {"Autocorrelation", {5}, 200'000},
        {"ShannonEntropy", {10}, 200'000},
        {"SampleEntropy", {2, 0.2}, 2'000},
        {"HurstExponent", {8}, 50'000},
        {"TrendLabel", {}, CLOSES},
        {"TrendStrengthIndex", {}, CLOSES},
        {"VerticalHorizontalFilter", {}, 200'000},
        {"PolarizedFractalEfficiency", {10}, CLOSES},
        {"RegimeLabel", {100}, CLOSES},
    };

    double sink = 0.0;
    std::printf("best of %d; ns per update (CPU time, wall time in brackets)\n", ROUNDS);
    std::printf("%-34s %10s %24s\n", "indicator", "closes", "batch (run)");
    for (const Case& c : cases) {
        for (double period : {20.0, 500.0}) {
            std::vector<double> params{period};
            params.insert(params.end(), c.extra.begin(), c.extra.end());
            std::string label = c.name;
            for (std::size_t i = 0; i < params.size(); ++i) {
                char text[32];
                std::snprintf(text, sizeof text, "%s%g", i == 0 ? "(" : ",", params[i]);
                label += text;
            }
            label += ")";
            auto probe = ostrel::create_indicator(c.name, params);
            if (!probe) {
                std::printf("%-34s skipped: %s\n", label.c_str(), probe.error().display().c_str());
                continue;
            }
            const std::size_t n = period == 20.0 ? std::min(CLOSES, c.closes * 20) : c.closes;
            ostrel::SeriesView series;
            series.candles = std::span<const ostrel::Candle>(candles.data(), n);
            const Timing t = batch(c.name, params, series, sink);
            std::printf("%-34s %10zu %12.1f [%9.1f]\n", label.c_str(), n, t.cpu, t.wall);
        }
    }
    std::printf("(checksum %g)\n", sink);
    return 0;
}
