#include "indicators/microstructure/breadth_counts.hpp"

#include <algorithm>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double trin(const CrossSection& r) {
    const BreadthCounts c = count_breadth(r);
    return (c.advancers / std::max(c.decliners, 1.0)) / (std::max(c.up_volume, 1.0) / std::max(c.down_volume, 1.0));
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Trin, (RecordMember<InputKind::CrossSection, CrossSection, &trin>::create()))
