#include "indicators/core/catalogue.hpp"
#include "indicators/volume/cumulative_line.hpp"
#include "indicators/volume/signed_volume.hpp"

namespace ostrel {
namespace {

// On-balance volume: the volume signed by the close's move, summed from 0 on the first candle.
struct ObvStep {
    static constexpr double START = 0.0;
    static constexpr bool FROM_FIRST = true;

    double next(double total, const Candle& c, const Candle& prev) const {
        return total + signed_volume(c.close, prev.close, c.volume);
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Obv, ostrel::CumulativeLine<ostrel::ObvStep>::create())
