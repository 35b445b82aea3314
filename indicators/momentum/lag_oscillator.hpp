#pragma once

#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/momentum/lag_window.hpp"

namespace ostrel {

// A close compared with the close N accepted inputs back, by `Form(x, p)`; the momentum and
// rate-of-change members differ only in that form.
template <double (*Form)(double x, double p)>
class LagOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<LagOscillator, CoreError> create(std::uint64_t n) {
        if (auto e = LagWindow::check(n)) return std::unexpected(*e);
        return LagOscillator(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto p = lag_.push(x);
        if (!p) return std::nullopt;
        return Form(x, *p);
    }

    std::size_t warmup_period() const { return static_cast<std::size_t>(lag_.lag()) + 1; }

private:
    explicit LagOscillator(std::uint64_t n) : lag_(n) {}
    LagWindow lag_;
};

}  // namespace ostrel
