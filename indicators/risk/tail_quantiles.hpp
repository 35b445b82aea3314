#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {

// q95/|q5| of the values held; none when q5 is 0.
inline std::optional<double> tail_ratio(const SortedWindow& w) {
    const double q5 = w.quantile(0.05);
    if (q5 == 0.0) return std::nullopt;
    return w.quantile(0.95) / std::fabs(q5);
}

// The loss beyond a tail level, never below 0 (and never −0).
inline double loss_beyond(double level) { return level < 0.0 ? -level : 0.0; }

// A close-fed member that reads the lower tail of its window at a confidence level. Rule
// supplies the `too_short` text and value(window, 1 − confidence).
template <class Rule>
class TailRiskMember {
public:
    static constexpr InputKind input = InputKind::Close;

    // The window, then the confidence, then the minimum of 2.
    static std::expected<TailRiskMember, CoreError> create(std::uint64_t period, double confidence) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (!(confidence > 0.0 && confidence < 1.0))
            return std::unexpected(CoreError::invalid_period("confidence must lie strictly between 0 and 1"));
        if (period < 2) return std::unexpected(CoreError::invalid_period(Rule::too_short));
        return TailRiskMember(period, 1.0 - confidence);
    }

    std::optional<double> update(double r) {
        if (!std::isfinite(r)) return std::nullopt;
        window_.push(r);
        if (!window_.full()) return std::nullopt;
        return Rule::value(window_, tail_);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    TailRiskMember(std::size_t n, double tail) : window_(n), tail_(tail) {}

    SortedWindow window_;
    double tail_;
};

}  // namespace ostrel
