// Helpers for writing JSON text.
#pragma once

#include <string>
#include <string_view>

namespace ostrel::store::json {

// Appends `text` as a JSON string literal, quotes included. Escapes `"`, `\`
// and bytes below 0x20 (\b \f \n \r \t, otherwise \u00xx in lowercase hex);
// every other byte, non-ASCII UTF-8 included, is copied unchanged.
void append_string(std::string& out, std::string_view text);

}  // namespace ostrel::store::json
