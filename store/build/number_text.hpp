#pragma once

#include <optional>
#include <string>

namespace ostrel::store {

// Numbers in keys and column names: whole values as saturated 64-bit integers ("-0" as "0"),
// others as the shortest positional decimal.
std::string key_number_text(double v);

// A frame value rounded to eight decimals (halves away from zero); nothing for NaN and
// infinities. Appends to `out` and returns whether anything was written.
bool append_number_text(std::string& out, double v);

}  // namespace ostrel::store
