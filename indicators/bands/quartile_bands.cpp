#include <array>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/sorted_window.hpp"

namespace ostrel {
namespace {

// Interpolated upper quartile, median and lower quartile of the last N closes.
class QuartileBands {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<QuartileBands, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return QuartileBands(n);
    }

    // upper, middle, lower.
    std::optional<std::array<double, 3>> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        return std::array<double, 3>{window_.quantile(0.75), window_.median(), window_.quantile(0.25)};
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    explicit QuartileBands(std::uint64_t n) : window_(n) {}

    SortedWindow window_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(QuartileBands, ostrel::QuartileBands::create(p.count(0)))
