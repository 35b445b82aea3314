#include "indicators/core/number_text.hpp"

#include <array>
#include <charconv>

namespace ostrel {

std::string shortest_positional(double v) {
    // Shortest round-trip digits come from the scientific form; fixed formatting would print
    // the exact binary expansion of large values instead of zeros after the digits.
    std::array<char, 64> buf;
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::scientific);
    if (ec != std::errc{}) return {};
    const std::string_view sci(buf.data(), static_cast<std::size_t>(end - buf.data()));
    if (sci.find_first_of("ni") != std::string_view::npos) return std::string(sci);  // nan, inf

    std::string out;
    std::size_t pos = 0;
    if (sci[0] == '-') {
        out.push_back('-');
        pos = 1;
    }
    const std::size_t e = sci.find('e');
    std::string digits;
    for (std::size_t i = pos; i < e; ++i)
        if (sci[i] != '.') digits.push_back(sci[i]);
    int exponent = 0;
    const char* exp_begin = sci.data() + e + 1;
    if (*exp_begin == '+') ++exp_begin;
    std::from_chars(exp_begin, sci.data() + sci.size(), exponent);
    // The decimal point sits after digit number exponent + 1.
    const long point = static_cast<long>(exponent) + 1;
    const long count = static_cast<long>(digits.size());
    if (point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else if (point >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
    } else {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out.push_back('.');
        out.append(digits, static_cast<std::size_t>(point), std::string::npos);
    }
    return out;
}

}  // namespace ostrel
