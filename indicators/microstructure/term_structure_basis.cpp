#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double futures_basis(const DerivativesTick& r) { return relative_change(r.futures_price, r.index_price); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TermStructureBasis, (RecordMember<InputKind::Derivatives, DerivativesTick, &futures_basis>::create()))
