#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/momentum/macd_core.hpp"

namespace ostrel {
namespace {

// The histogram alone: macd minus its signal.
class MacdHistogram {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<MacdHistogram, CoreError> create(std::uint64_t fast, std::uint64_t slow,
                                                          std::uint64_t signal) {
        auto core = MacdCore::create(fast, slow, signal);
        if (!core) return std::unexpected(core.error());
        return MacdHistogram(*core);
    }

    std::optional<double> update(double x) {
        const auto out = core_.push(x);
        if (!out) return std::nullopt;
        return (*out)[2];
    }

    std::size_t warmup_period() const { return core_.warmup_period(); }

private:
    explicit MacdHistogram(MacdCore core) : core_(core) {}
    MacdCore core_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(MacdHistogram, ostrel::MacdHistogram::create(p.count(0), p.count(1), p.count(2)))
