#pragma once

#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/momentum/macd_core.hpp"

namespace ostrel {

inline constexpr const char* PPO_ORDER_MESSAGE = "PPO fast period must be < slow period";

// Percentage price oscillator: 100·(EMA(fast) − EMA(slow))/EMA(slow), 0 when the slow
// average is 0.
class Ppo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Ppo, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (auto e = convergence_error(PPO_ORDER_MESSAGE, fast, slow)) return std::unexpected(*e);
        return Ppo(fast, slow);
    }

    // Periods validated by the caller.
    Ppo(std::uint64_t fast, std::uint64_t slow) : spread_(fast, slow) {}

    std::optional<double> update(double x) {
        const auto pair = spread_.push(x);
        if (!pair) return std::nullopt;
        if (pair->slow == 0.0) return 0.0;
        return (pair->fast - pair->slow) * 100.0 / pair->slow;
    }

    std::size_t warmup_period() const { return spread_.warmup_period(); }

private:
    EmaSpread spread_;
};

}  // namespace ostrel
