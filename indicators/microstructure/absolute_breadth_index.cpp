#include "indicators/microstructure/breadth_counts.hpp"

#include <cmath>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double absolute_breadth(const CrossSection& r) { return std::fabs(advance_decline_net(r)); }

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AbsoluteBreadthIndex, (RecordMember<InputKind::CrossSection, CrossSection, &absolute_breadth>::create()))
