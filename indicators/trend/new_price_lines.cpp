#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"

namespace ostrel {
namespace {

// New price lines: a run of N or more rising closes reads −1 (stretched up), a run of N or
// more falling closes +1; an unchanged close ends both runs.
class NewPriceLines {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<NewPriceLines, CoreError> create(std::uint64_t count) {
        if (auto e = period_error(count)) return std::unexpected(*e);
        if (count < 2) return std::unexpected(CoreError::invalid_period("new price lines count must be >= 2"));
        return NewPriceLines(count);
    }

    std::optional<double> update(const Candle& c) {
        const double x = c.close;
        const bool has_prev = has_prev_;
        const double prev = prev_;
        prev_ = x;
        has_prev_ = true;
        if (!has_prev) return std::nullopt;
        if (x > prev) {
            ++rising_;
            falling_ = 0;
        } else if (x < prev) {
            ++falling_;
            rising_ = 0;
        } else {
            rising_ = 0;
            falling_ = 0;
        }
        if (rising_ >= count_) return -1.0;
        if (falling_ >= count_) return 1.0;
        return 0.0;
    }

    std::size_t warmup_period() const { return 2; }

private:
    explicit NewPriceLines(std::uint64_t count) : count_(count) {}

    std::uint64_t count_;
    std::uint64_t rising_ = 0;
    std::uint64_t falling_ = 0;
    double prev_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(NewPriceLines, ostrel::NewPriceLines::create(p.count(0)))
