#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/pair_moments.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/volatility/log_return_source.hpp"

namespace ostrel {
namespace {

// Beta of the close's one-step log returns on the reference's. A pair with a non-positive
// value has no logarithm and is skipped; the first accepted pair only primes the returns.
class PairwiseBeta {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<PairwiseBeta, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 2, "pairwise beta needs period >= 2")) return std::unexpected(*e);
        return PairwiseBeta(period);
    }

    std::optional<double> update(double x, double y) {
        if (!(x > 0.0 && y > 0.0)) return std::nullopt;
        if (!primed_) {
            prev_x_ = x;
            prev_y_ = y;
            primed_ = true;
            return std::nullopt;
        }
        if (!moments_.push(log_ratio(x, prev_x_), log_ratio(y, prev_y_))) return std::nullopt;
        prev_x_ = x;
        prev_y_ = y;
        if (!moments_.full()) return std::nullopt;
        return moments_.beta();
    }

    std::size_t warmup_period() const { return moments_.period() + 1; }

private:
    explicit PairwiseBeta(std::size_t n) : moments_(n) {}

    PairMoments moments_;
    double prev_x_ = 0.0;
    double prev_y_ = 0.0;
    bool primed_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PairwiseBeta, ostrel::PairwiseBeta::create(p.count(0)))
