#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double mark_basis(const DerivativesTick& r) { return relative_change(r.mark_price, r.index_price); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FundingBasis, (RecordMember<InputKind::Derivatives, DerivativesTick, &mark_basis>::create()))
