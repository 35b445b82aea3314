#include "store/build/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "indicators/core/number_text.hpp"

namespace ostrel::store {

std::string key_number_text(double v) {
    if (std::isfinite(v) && v == std::trunc(v)) {
        if (v >= 9223372036854775808.0) return "9223372036854775807";
        if (v <= -9223372036854775808.0) return "-9223372036854775808";
        return std::to_string(static_cast<std::int64_t>(v));
    }
    return shortest_positional(v);
}

namespace {

// Shortest round-trip digits in positional form, without a heap allocation on the common path.
void append_positional(std::string& out, double w) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, w, std::chars_format::fixed);
    // Values of at most 17 significant digits and a small exponent fit; larger ones
    // (only reachable without rounding) take the general path.
    if (ec == std::errc{} && std::fabs(w) < 1e15) {
        out.append(buf, end);
        return;
    }
    out += shortest_positional(w);
}

}  // namespace

bool append_number_text(std::string& out, double v) {
    if (!std::isfinite(v)) return false;
    const double q = v / 1e-8;
    if (!std::isfinite(q)) {
        // Too large to round to eight decimals: the value is already whole.
        out += shortest_positional(v);
        return true;
    }
    const double w = std::round(q) * 1e-8;
    if (!std::isfinite(w)) return false;
    append_positional(out, w);
    return true;
}

}  // namespace ostrel::store
