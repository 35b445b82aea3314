#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {
namespace {

// Median of the last N closes.
class MedianMa {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MedianMa, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return MedianMa(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return window_.median();
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit MedianMa(std::size_t n) : window_(n) {}

    SortedWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MedianMa, MedianMa::create(p.count(0)))
