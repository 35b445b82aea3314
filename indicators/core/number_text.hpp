#pragma once

#include <string>

namespace ostrel {

// Shortest digits that read back as the same double, never in exponent notation,
// no fractional part when whole; negative zero keeps its sign ("-0").
std::string shortest_positional(double v);

}  // namespace ostrel
