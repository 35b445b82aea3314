#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double mark_premium(const DerivativesTick& r) { return relative_change(r.mark_price, r.index_price); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(PerpetualPremiumIndex, (RecordMember<InputKind::Derivatives, DerivativesTick, &mark_premium>::create()))
