#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/highpass.hpp"

namespace ostrel {
namespace {

// The difference of a fast and a slow decycler.
class DecyclerOscillator {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<DecyclerOscillator, CoreError> create(std::uint64_t fast, std::uint64_t slow) {
        if (fast == 0 || slow == 0) return std::unexpected(CoreError::zero_period());
        if (fast >= slow)
            return std::unexpected(
                CoreError::invalid_period("fast period must be strictly less than slow period"));
        if (auto e = period_error(slow)) return std::unexpected(*e);
        return DecyclerOscillator(fast, slow);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const double fast = fast_.push(x);
        const double slow = slow_.push(x);
        return (x - fast) - (x - slow);
    }
    std::size_t warmup_period() const { return 1; }

private:
    DecyclerOscillator(std::uint64_t fast, std::uint64_t slow)
        : fast_(static_cast<double>(fast)), slow_(static_cast<double>(slow)) {}
    TwoPoleHighpass fast_, slow_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DecyclerOscillator, ostrel::DecyclerOscillator::create(p.count(0), p.count(1)))
