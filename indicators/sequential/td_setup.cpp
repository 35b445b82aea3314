#include "indicators/sequential/td_setup.hpp"

#include <expected>

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// The signed price-flip count: +buy after a lower close, -sell after a higher one.
class TdSetup {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<TdSetup, CoreError> create(std::uint64_t lookback, std::uint64_t length) {
        if (auto e = td_counts_error(length, lookback)) return std::unexpected(*e);
        return TdSetup(lookback, length);
    }

    std::optional<double> update(const Candle& k) {
        if (!setup_.begin(k)) return std::nullopt;
        setup_.store(k);
        return setup_.signed_count();
    }

    std::size_t warmup_period() const { return setup_.warmup_period(); }

private:
    TdSetup(std::uint64_t lookback, std::uint64_t length) : setup_(lookback, length, lookback) {}
    TdSetupCounter setup_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TdSetup, TdSetup::create(p.count(0), p.count(1)))
