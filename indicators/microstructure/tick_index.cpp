#include "indicators/microstructure/breadth_counts.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double tick_index(const CrossSection& r) { return advance_decline_net(r); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(TickIndex, (RecordMember<InputKind::CrossSection, CrossSection, &tick_index>::create()))
