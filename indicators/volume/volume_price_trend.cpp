#include "indicators/core/catalogue.hpp"
#include "indicators/volume/cumulative_line.hpp"

namespace ostrel {
namespace {

// Volume-price trend: volume·(close − previous close)/previous close summed from 0; the first
// candle and a previous close of 0 add nothing.
struct VolumePriceTrendStep {
    static constexpr double START = 0.0;
    static constexpr bool FROM_FIRST = true;

    double next(double total, const Candle& c, const Candle& prev) const {
        if (prev.close == 0.0) return total;
        return total + c.volume * (c.close - prev.close) / prev.close;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VolumePriceTrend, ostrel::CumulativeLine<ostrel::VolumePriceTrendStep>::create())
