#pragma once

#include <cmath>
#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"

namespace ostrel {

// A running line that each candle moves against the previous candle: the flow totals and
// volume indices. The Step supplies
//   static constexpr double START;        the line before any move
//   static constexpr bool FROM_FIRST;     whether the first candle already reports START
//   double next(double total, const Candle& c, const Candle& prev) const;
// and, when it keeps state of its own, void accept(const Candle& c, const Candle& prev),
// called once the move is taken. A candle that would carry the line beyond the largest
// doubles is dropped whole, so no infinity can later turn it into NaN.
template <class Step>
class CumulativeLine {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<CumulativeLine, CoreError> create() { return CumulativeLine(); }

    explicit CumulativeLine(Step step = Step{}) : step_(step) {}

    std::optional<double> update(const Candle& c) {
        if (!prev_) {
            prev_ = c;
            if constexpr (Step::FROM_FIRST) return total_;
            else return std::nullopt;
        }
        const double next = step_.next(total_, c, *prev_);
        if (!std::isfinite(next)) return std::nullopt;
        if constexpr (requires { step_.accept(c, *prev_); }) step_.accept(c, *prev_);
        total_ = next;
        prev_ = c;
        return total_;
    }

    std::size_t warmup_period() const { return Step::FROM_FIRST ? 1 : 2; }

private:
    Step step_;
    double total_ = Step::START;
    std::optional<Candle> prev_;
};

}  // namespace ostrel
