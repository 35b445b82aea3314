#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/lag_window.hpp"
#include "indicators/moving_averages/sma.hpp"

namespace ostrel {
namespace {

// Know-sure-thing: four rates of change, each smoothed by its own SMA and weighted 1 to 4,
// with an SMA signal.
class Kst {
public:
    static constexpr InputKind input = InputKind::Close;
    using Periods = std::array<std::uint64_t, 4>;

    static std::expected<Kst, CoreError> create(Periods lags, Periods smooth, std::uint64_t signal) {
        if (auto e = period_error(lags[0], lags[1], lags[2], lags[3], smooth[0], smooth[1], smooth[2], smooth[3],
                                  signal))
            return std::unexpected(*e);
        for (std::uint64_t r : lags)
            if (auto e = LagWindow::check(r)) return std::unexpected(*e);
        return Kst(lags, smooth, signal);
    }

    // kst, signal.
    std::optional<std::array<double, 2>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        std::array<std::optional<double>, 4> smoothed;
        for (std::size_t i = 0; i < 4; ++i) {
            const auto p = parts_[i].lag.push(x);
            if (p) smoothed[i] = parts_[i].average.update(rate_of_change(x, *p));
        }
        for (const auto& s : smoothed)
            if (!s) return std::nullopt;
        const double kst = *smoothed[0] + 2.0 * *smoothed[1] + 3.0 * *smoothed[2] + 4.0 * *smoothed[3];
        const auto signal = signal_.update(kst);
        if (!signal) return std::nullopt;
        return std::array<double, 2>{kst, *signal};
    }

    std::size_t warmup_period() const { return warmup_; }

private:
    struct Part {
        LagWindow lag;
        Sma average;
    };

    Kst(Periods lags, Periods smooth, std::uint64_t signal)
        : parts_{part(lags[0], smooth[0]), part(lags[1], smooth[1]), part(lags[2], smooth[2]),
                 part(lags[3], smooth[3])},
          signal_(*Sma::create(signal)) {
        std::uint64_t longest = 0;
        for (std::size_t i = 0; i < 4; ++i) longest = std::max(longest, lags[i] + smooth[i]);
        warmup_ = static_cast<std::size_t>(longest + signal - 1);
    }

    static Part part(std::uint64_t lag, std::uint64_t smooth) { return Part{LagWindow(lag), *Sma::create(smooth)}; }

    std::array<Part, 4> parts_;
    Sma signal_;
    std::size_t warmup_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Kst, ostrel::Kst::create({p.count(0), p.count(1), p.count(2), p.count(3)},
                                        {p.count(4), p.count(5), p.count(6), p.count(7)}, p.count(8)))
