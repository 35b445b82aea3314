#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/pairs/pair_moments.hpp"
#include "indicators/pairs/window_check.hpp"

namespace ostrel {

// A member that reads one statistic of the last N raw (x, y) pairs once the window is full:
// `stat(moments, x, y)` with the newest pair. N ≥ 2, else `message`.
template <class Stat>
class PairStatistic {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<PairStatistic, CoreError> create(std::uint64_t period, const char* message,
                                                          Stat stat = {}) {
        if (auto e = window_error(period, 2, message)) return std::unexpected(*e);
        return PairStatistic(period, stat);
    }

    std::optional<double> update(double x, double y) {
        if (!moments_.push(x, y) || !moments_.full()) return std::nullopt;
        return stat_(moments_, x, y);
    }

    std::size_t warmup_period() const { return moments_.period(); }

private:
    PairStatistic(std::size_t n, Stat stat) : moments_(n), stat_(stat) {}

    PairMoments moments_;
    Stat stat_;
};

// Pearson correlation of the window, shared by the members that report it under two names.
struct CorrelationOf {
    double operator()(const PairMoments& m, double, double) const { return m.correlation(); }
};

}  // namespace ostrel
