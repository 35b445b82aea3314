#include <cmath>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// A stop one brick b behind a reference price that advances by whole bricks with the
// trend; a close more than a brick against it restarts the reference there, reversed.
class RenkoTrailingStop {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<RenkoTrailingStop, CoreError> create(double brick) {
        if (auto e = multiplier_error(brick)) return std::unexpected(*e);
        return RenkoTrailingStop(brick);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        if (!started_) {
            started_ = true;
            ref_ = x;
        } else if (long_) {
            if (x < ref_ - b_) {
                long_ = false;
                ref_ = x;
            } else {
                const double bricks = std::floor((x - ref_) / b_);
                if (bricks >= 1.0) ref_ += bricks * b_;
            }
        } else if (x > ref_ + b_) {
            long_ = true;
            ref_ = x;
        } else {
            const double bricks = std::floor((ref_ - x) / b_);
            if (bricks >= 1.0) ref_ -= bricks * b_;
        }
        return long_ ? ref_ - b_ : ref_ + b_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    explicit RenkoTrailingStop(double brick) : b_(brick) {}

    double b_;
    double ref_ = 0.0;
    bool started_ = false;
    bool long_ = false;  // the first brick is laid short
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(RenkoTrailingStop, ostrel::RenkoTrailingStop::create(p.real(0)))
