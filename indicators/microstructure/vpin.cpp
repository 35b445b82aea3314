#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Volume-synchronised probability of informed trading: mean buy-sell imbalance of the last
// n completed volume buckets, as a fraction of the bucket volume.
class Vpin {
public:
    static constexpr InputKind input = InputKind::Trades;

    static std::expected<Vpin, CoreError> create(double bucket_volume, std::uint64_t buckets) {
        if (!std::isfinite(bucket_volume) || !(bucket_volume > 0.0))
            return std::unexpected(CoreError::invalid_parameter("VPIN bucket_volume must be finite and positive"));
        if (auto e = period_error(buckets)) return std::unexpected(*e);
        return Vpin(bucket_volume, buckets);
    }

    std::optional<double> update(const TradePrint& t) {
        const bool buy = t.side == Side::Buy;
        double remaining = t.size;
        const double room = bucket_ - fill_;
        const double n = static_cast<double>(imbalances_.period());
        // Beyond n whole buckets past the current one, further buckets would be pushed out
        // again by the same trade; only their remainder matters.
        if (remaining > room && (remaining - room) / bucket_ > n)
            remaining = room + n * bucket_ + std::fmod(remaining - room, bucket_);
        while (remaining > 0.0) {
            const double space = bucket_ - fill_;
            if (remaining >= space) {
                // Completing by rule rather than by fill == V: the rounded sum can miss V.
                (buy ? buy_ : sell_) += space;
                imbalances_.push(std::fabs(buy_ - sell_));
                buy_ = sell_ = fill_ = 0.0;
                remaining -= space;
            } else {
                (buy ? buy_ : sell_) += remaining;
                fill_ += remaining;
                remaining = 0.0;
            }
        }
        if (!imbalances_.full()) return std::nullopt;
        return imbalances_.sum() / (n * bucket_);
    }

    std::size_t warmup_period() const { return imbalances_.period(); }

private:
    Vpin(double v, std::size_t n) : bucket_(v), imbalances_(n) {}
    double bucket_;
    double buy_ = 0.0;
    double sell_ = 0.0;
    double fill_ = 0.0;
    RunningSum imbalances_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Vpin, Vpin::create(p.real(0), p.count(1)))
