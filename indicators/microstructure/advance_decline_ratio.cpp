#include "indicators/microstructure/breadth_counts.hpp"

#include <algorithm>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double advance_decline_ratio(const CrossSection& r) {
    const BreadthCounts c = count_breadth(r);
    return c.advancers / std::max(c.decliners, 1.0);
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AdvanceDeclineRatio, (RecordMember<InputKind::CrossSection, CrossSection, &advance_decline_ratio>::create()))
