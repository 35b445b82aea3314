// Nanoseconds per update of a few moving averages over a random walk, through the batch
// path (Indicator::run over a SeriesView) and the streaming path (update per StepView).
// Both process CPU time and wall time are shown: on a shared machine wall time also counts
// the time other processes held the core.
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

constexpr std::size_t CLOSES = 2'000'000;
constexpr int ROUNDS = 3;  // best of, each with a fresh indicator

std::vector<ostrel::Candle> random_walk(std::size_t n) {
    std::mt19937_64 rng(42);
    std::normal_distribution<double> step(0.0, 0.5);
    std::uniform_real_distribution<double> spread(0.0, 0.5);
    std::vector<ostrel::Candle> out(n);
    double close = 100.0;
    std::int64_t ts = 1'700'000'000'000;
    for (auto& c : out) {
        const double open = close;
        close = std::max(1.0, close + step(rng));
        c = {ts, open, std::max(open, close) + spread(rng), std::min(open, close) - spread(rng), close,
             1000.0 + 100.0 * spread(rng)};
        ts += 60'000;
    }
    return out;
}

struct Timing {
    double cpu = 1e300;   // ns per update
    double wall = 1e300;  // ns per update
};

// Times one full pass of `pass` and keeps the best of ROUNDS.
template <class Pass>
Timing best_of(std::size_t updates, Pass&& pass) {
    Timing best;
    for (int r = 0; r < ROUNDS; ++r) {
        const std::clock_t cpu0 = std::clock();
        const auto wall0 = Clock::now();
        pass();
        const auto wall1 = Clock::now();
        const std::clock_t cpu1 = std::clock();
        const double n = static_cast<double>(updates);
        best.cpu = std::min(best.cpu, 1e9 * static_cast<double>(cpu1 - cpu0) / CLOCKS_PER_SEC / n);
        best.wall = std::min(best.wall, std::chrono::duration<double, std::nano>(wall1 - wall0).count() / n);
    }
    return best;
}

// `sink` keeps the results observable.
Timing batch(const std::string& name, const std::vector<double>& params, const ostrel::SeriesView& series,
             double& sink) {
    std::vector<double> column(series.candles.size());
    double* columns[] = {column.data()};
    std::unique_ptr<ostrel::Indicator> ind;
    return best_of(column.size(), [&] {
        ind = std::move(*ostrel::create_indicator(name, params));
        ind->run(series, columns);
        sink += column.back();
    });
}

Timing streaming(const std::string& name, const std::vector<double>& params, const ostrel::SeriesView& series,
                 double& sink) {
    std::unique_ptr<ostrel::Indicator> ind;
    return best_of(series.candles.size(), [&] {
        ind = std::move(*ostrel::create_indicator(name, params));
        double acc = 0.0;
        for (const ostrel::Candle& c : series.candles) {
            ostrel::StepView step;
            step.candle = c;
            if (auto v = ind->update(step)) acc += *v;
        }
        sink += acc;
    });
}

}  // namespace

int main() {
    const auto candles = random_walk(CLOSES);
    // The build hands close-only members the closes side by side.
    std::vector<double> closes;
    for (const ostrel::Candle& c : candles) closes.push_back(c.close);
    ostrel::SeriesView series;
    series.candles = candles;
    series.closes = closes.data();

    struct Case {
        const char* name;
        std::vector<double> extra;  // parameters after the period
    };
    const Case cases[] = {{"Sma", {}}, {"Ema", {}}, {"Wma", {}}, {"Kama", {2, 30}}, {"MedianMa", {}}};

    double sink = 0.0;
    std::printf("%zu closes, best of %d; ns per update (CPU time, wall time in brackets)\n", candles.size(),
                ROUNDS);
    std::printf("%-16s %20s %20s\n", "indicator", "batch (run)", "update(StepView)");
    for (const Case& c : cases) {
        for (double period : {20.0, 200.0}) {
            std::vector<double> params{period};
            params.insert(params.end(), c.extra.begin(), c.extra.end());
            const std::string label = std::string(c.name) + "(" + std::to_string(static_cast<int>(period)) + ")";
            auto probe = ostrel::create_indicator(c.name, params);
            if (!probe) {
                std::printf("%-16s skipped: %s\n", label.c_str(), probe.error().display().c_str());
                continue;
            }
            const Timing b = batch(c.name, params, series, sink);
            const Timing s = streaming(c.name, params, series, sink);
            std::printf("%-16s %9.2f [%8.2f] %9.2f [%8.2f]\n", label.c_str(), b.cpu, b.wall, s.cpu, s.wall);
        }
    }
    std::printf("(checksum %g)\n", sink);
    return 0;
}
