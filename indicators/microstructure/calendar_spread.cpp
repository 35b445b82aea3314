#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double futures_over_mark(const DerivativesTick& r) { return relative_change(r.futures_price, r.mark_price); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(CalendarSpread, (RecordMember<InputKind::Derivatives, DerivativesTick, &futures_over_mark>::create()))
