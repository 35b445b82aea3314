#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double oi_over_volume(const DerivativesTick& r) { return ratio_or_zero(r.open_interest, r.taker_buy_volume + r.taker_sell_volume); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(OiToVolumeRatio, (RecordMember<InputKind::Derivatives, DerivativesTick, &oi_over_volume>::create()))
