#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/bands/stops/scaled_atr.hpp"
#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

// A long exit k·ATR below the close that only rises; once the close breaks it, the exit
// rests at the broken level until the close clears it by k·ATR and re-arms.
class YoyoExit {
public:
    static constexpr InputKind input = InputKind::Candle;

    static std::expected<YoyoExit, CoreError> create(std::uint64_t n, double k) {
        auto band = ScaledAtr::create(n, k);
        if (!band) return std::unexpected(band.error());
        return YoyoExit(*band);
    }

    std::optional<double> update(const Candle& c) {
        const auto a = band_.update(c);
        if (!a) return std::nullopt;
        const double x = c.close;
        const double band = *a;
        if (!started_) {
            started_ = true;
            stop_ = x - band;
        } else if (active_) {
            if (x < stop_) active_ = false;
            else stop_ = std::max(stop_, x - band);
        } else if (x > stop_ + band) {
            active_ = true;
            stop_ = x - band;
        }
        return stop_;
    }

    std::size_t warmup_period() const { return band_.warmup_period(); }

private:
    explicit YoyoExit(ScaledAtr band) : band_(band) {}

    ScaledAtr band_;
    double stop_ = 0.0;
    bool started_ = false;
    bool active_ = true;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(YoyoExit, ostrel::YoyoExit::create(p.count(0), p.real(1)))
