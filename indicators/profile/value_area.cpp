#include "indicators/profile/value_area.hpp"

#include "indicators/core/catalogue.hpp"

namespace ostrel {
using ValueArea = ValueAreaIndicator<ValueAreaStyle::Edges>;
}  // namespace ostrel

OSTREL_FACTORY(ValueArea, ValueArea::create(p.count(0), p.count(1), p.real(2)))
