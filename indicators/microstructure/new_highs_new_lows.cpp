#include "indicators/microstructure/breadth_counts.hpp"

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double highs_minus_lows(const CrossSection& r) {
    const BreadthCounts c = count_breadth(r);
    return c.new_highs - c.new_lows;
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(NewHighsNewLows, (RecordMember<InputKind::CrossSection, CrossSection, &highs_minus_lows>::create()))
