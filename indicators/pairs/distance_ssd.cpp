#include <cstdint>
#include <expected>
#include <optional>
#include <utility>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Sum of squared distances between the two paths, each normalised by its value at the start
// of the window; 0 when either start value is 0.
class DistanceSsd {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<DistanceSsd, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 2, "distance SSD needs period >= 2")) return std::unexpected(*e);
        return DistanceSsd(period);
    }

    std::optional<double> update(double x, double y) {
        window_.push({x, y});
        if (!window_.full()) return std::nullopt;
        const auto [x0, y0] = window_.oldest();
        if (x0 == 0.0 || y0 == 0.0) return 0.0;
        double ssd = 0.0;
        window_.for_each([&](const std::pair<double, double>& v) {
            const double d = v.first / x0 - v.second / y0;
            ssd += d * d;
        });
        return ssd;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit DistanceSsd(std::size_t n) : window_(n) {}

    RingWindow<std::pair<double, double>> window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DistanceSsd, ostrel::DistanceSsd::create(p.count(0)))
