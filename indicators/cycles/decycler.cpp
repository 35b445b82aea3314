#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/highpass.hpp"

namespace ostrel {
namespace {

// The close with its high-pass part removed.
class Decycler {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Decycler, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Decycler(n);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        return x - hp_.push(x);
    }
    std::size_t warmup_period() const { return 1; }

private:
    explicit Decycler(std::uint64_t n) : hp_(static_cast<double>(n)) {}
    TwoPoleHighpass hp_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Decycler, ostrel::Decycler::create(p.count(0)))
