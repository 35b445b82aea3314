#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double buy_over_sell(const DerivativesTick& r) { return ratio_or_zero(r.taker_buy_volume, r.taker_sell_volume); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TakerBuySellRatio, (RecordMember<InputKind::Derivatives, DerivativesTick, &buy_over_sell>::create()))
