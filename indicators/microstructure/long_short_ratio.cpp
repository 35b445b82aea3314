#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double long_over_short(const DerivativesTick& r) { return ratio_or_zero(r.long_size, r.short_size); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(LongShortRatio, (RecordMember<InputKind::Derivatives, DerivativesTick, &long_over_short>::create()))
