#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>

#include "indicators/sequential/td_setup.hpp"

namespace ostrel {

// A candle's candidate for a run's extreme: the run keeps the candidate with the strictly
// greatest key since the run began, and a completed setup publishes its level.
struct TdRunPick {
    double key;
    double level;
};

// Two levels drawn from price-flip runs: the first from buy runs, the second from sell runs.
// No value until one is set; a level never set is NaN. An equal close ends both runs but
// keeps the levels.
class TdSetupLevels {
public:
    static std::expected<TdSetupLevels, CoreError> create(std::uint64_t lookback, std::uint64_t length) {
        if (auto e = td_counts_error(length, lookback)) return std::unexpected(*e);
        return TdSetupLevels(lookback, length);
    }

    std::optional<std::array<double, 2>> push(const Candle& k, TdRunPick buy, TdRunPick sell) {
        const bool buy_running = setup_.buy() > 0;
        const bool sell_running = setup_.sell() > 0;
        if (!setup_.begin(k)) return std::nullopt;
        setup_.store(k);
        if (setup_.buy() > 0 && (!buy_running || buy.key > buy_run_.key)) buy_run_ = buy;
        if (setup_.sell() > 0 && (!sell_running || sell.key > sell_run_.key)) sell_run_ = sell;
        if (setup_.buy_complete()) buy_level_ = buy_run_.level;
        if (setup_.sell_complete()) sell_level_ = sell_run_.level;
        if (!buy_level_ && !sell_level_) return std::nullopt;
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        return std::array<double, 2>{buy_level_.value_or(nan), sell_level_.value_or(nan)};
    }

    // The earliest completed setup: the length-th count after the window has filled.
    std::size_t warmup_period() const { return saturating_add(lookback_, setup_.length()); }

private:
    TdSetupLevels(std::uint64_t lookback, std::uint64_t length)
        : setup_(lookback, length, lookback), lookback_(lookback) {}

    TdSetupCounter setup_;
    std::uint64_t lookback_;
    TdRunPick buy_run_{0.0, 0.0};
    TdRunPick sell_run_{0.0, 0.0};
    std::optional<double> buy_level_;
    std::optional<double> sell_level_;
};

}  // namespace ostrel
