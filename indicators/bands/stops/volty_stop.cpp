#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// A stop k·ATR from an anchor close that follows the trend's extreme close; a close beyond
// the stop re-anchors on the other side. Unlike a ratchet, the stop widens with the ATR.
class VoltyStop {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<VoltyStop, CoreError> create(std::uint64_t n, double k) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        return VoltyStop(*band);
    }

    std::optional<double> update(const Candle& c) {
        const auto a = band_.update(c);
        if (!a) return std::nullopt;
        const double x = c.close;
        const double band = *a;
        if (!started_) {
            started_ = true;
            long_ = true;
            anchor_ = x;
        } else if (long_) {
            if (anchor_ - band > x) {
                long_ = false;
                anchor_ = x;
            } else {
                anchor_ = std::max(anchor_, x);
            }
        } else if (x > anchor_ + band) {
            long_ = true;
            anchor_ = x;
        } else {
            anchor_ = std::min(anchor_, x);
        }
        return long_ ? anchor_ - band : anchor_ + band;
    }

    std::size_t warmup_period() const { return band_.warmup_period(); }

private:
    explicit VoltyStop(ScaledAtr band) : band_(band) {}

    ScaledAtr band_;
    double anchor_ = 0.0;
    bool started_ = false;
    bool long_ = true;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VoltyStop, ostrel::VoltyStop::create(p.count(0), p.real(1)))
