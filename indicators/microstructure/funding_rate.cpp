#include "indicators/microstructure/record_member.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
namespace {

double funding_rate(const DerivativesTick& r) { return r.funding_rate; }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FundingRate, (RecordMember<InputKind::Derivatives, DerivativesTick, &funding_rate>::create()))
