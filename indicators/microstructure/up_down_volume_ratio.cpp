#include "indicators/microstructure/breadth_counts.hpp"

#include <algorithm>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/record_member.hpp"

namespace ostrel {
namespace {

double up_down_volume_ratio(const CrossSection& r) {
    const BreadthCounts c = count_breadth(r);
    return c.up_volume / std::max(c.down_volume, 1.0);
}

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(UpDownVolumeRatio, (RecordMember<InputKind::CrossSection, CrossSection, &up_down_volume_ratio>::create()))
