#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

namespace ostrel {
namespace {

// Elder's impulse: +1 when both the trend EMA and the MACD histogram rose since the
// previous step that had both, −1 when both fell, else 0.
class ElderImpulse {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<ElderImpulse, CoreError> create(std::uint64_t ema, std::uint64_t fast,
                                                         std::uint64_t slow, std::uint64_t signal) {
        if (auto e = period_error(ema)) return std::unexpected(*e);
        auto macd = MacdCore::create(fast, slow, signal);
        if (!macd) return std::unexpected(macd.error());
        return ElderImpulse(ema, *macd);
    }

    std::optional<double> update(double x) {
        const auto e = trend_.push(x);
        const auto macd = macd_.push(x);
        if (!e || !macd) return std::nullopt;
        const double h = (*macd)[2];
        std::optional<double> out;
        if (has_prev_) {
            if (prev_e_ < *e && prev_h_ < h) out = 1.0;
            else if (*e < prev_e_ && h < prev_h_) out = -1.0;
            else out = 0.0;
        }
        prev_e_ = *e;
        prev_h_ = h;
        has_prev_ = true;
        return out;
    }

    std::size_t warmup_period() const {
        const auto trend = static_cast<std::size_t>(trend_.period());
        const std::size_t macd = macd_.warmup_period();
        return (trend > macd ? trend : macd) + 1;
    }

private:
    ElderImpulse(std::uint64_t ema, MacdCore macd) : trend_(ema), macd_(macd) {}

    ExpSmoother trend_;
    MacdCore macd_;
    double prev_e_ = 0.0;
    double prev_h_ = 0.0;
    bool has_prev_ = false;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ElderImpulse, ostrel::ElderImpulse::create(p.count(0), p.count(1), p.count(2), p.count(3)))
