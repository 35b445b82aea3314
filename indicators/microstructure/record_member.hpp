#pragma once

#include <cstddef>
#include <expected>
#include <optional>

#include "indicators/core/indicator.hpp"

namespace ostrel {

// A member computed from its step's record alone: a value for every record.
template <InputKind Kind, class Record, auto Formula>
class RecordMember {
public:
    static constexpr InputKind input = Kind;

    static std::expected<RecordMember, CoreError> create() { return RecordMember{}; }

    std::optional<double> update(const Record& r) { return Formula(r); }

    std::size_t warmup_period() const { return 1; }
};

// Running total of a per-record amount over every record since creation.
template <InputKind Kind, class Record, auto Amount>
class RunningTotal {
public:
    static constexpr InputKind input = Kind;

    static std::expected<RunningTotal, CoreError> create() { return RunningTotal{}; }

    std::optional<double> update(const Record& r) {
        total_ += Amount(r);
        return total_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    double total_ = 0.0;
};

// Quotient, or 0 when the denominator is not positive.
inline double ratio_or_zero(double num, double den) { return den > 0.0 ? num / den : 0.0; }

// Change of `x` relative to a base price (base prices of validated records are positive).
inline double relative_change(double x, double base) { return (x - base) / base; }

}  // namespace ostrel
