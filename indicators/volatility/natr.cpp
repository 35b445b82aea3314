#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/wilder_atr.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// Average true range as a percentage of the close.
class Natr {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<Natr, CoreError> create(std::uint64_t period) {
        auto atr = WilderAtr::create(period);
        if (!atr) return std::unexpected(atr.error());
        return Natr(*atr);
    }

    std::optional<double> update(const Candle& c) {
        const std::optional<double> atr = atr_.update(c);
        // The average still moves on a close of 0; only the percentage has no value there.
        if (!atr || c.close == 0.0) return std::nullopt;
        return *atr * 100.0 / c.close;
    }

    std::size_t warmup_period() const { return atr_.warmup_period(); }

private:
    explicit Natr(WilderAtr atr) : atr_(atr) {}

    WilderAtr atr_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Natr, ostrel::Natr::create(p.count(0)))
