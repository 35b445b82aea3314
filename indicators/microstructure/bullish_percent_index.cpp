#include "indicators/microstructure/breadth_counts.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double percent_bullish(const CrossSection& r) {
    const BreadthCounts c = count_breadth(r);
    return percent_of_members(c.bullish, c);
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(BullishPercentIndex, (RecordMember<InputKind::CrossSection, CrossSection, &percent_bullish>::create()))
