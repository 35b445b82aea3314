#include "store/build/labels.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "store/build/number_text.hpp"

namespace ostrel::store {

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Whether fewer than h candles follow position i; never overflows for any h.
bool runs_past(std::size_t i, std::uint64_t h, std::size_t n) { return h > n - 1 - i; }

void forward_returns(const ForwardReturnLabel& l, std::span<const Candle> c, std::span<double> out) {
    const std::size_t n = c.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (runs_past(i, l.horizon, n) || c[i].close == 0.0) {
            out[i] = NaN;
            continue;
        }
        const double ratio = c[i + l.horizon].close / c[i].close;
        out[i] = l.log ? std::log(ratio) : ratio - 1.0;
    }
}

// Blocks of candles with their lowest low and highest high, so a scan can pass over
// stretches that touch neither barrier: a flat series costs about h/64 steps per row.
constexpr std::size_t BLOCK = 64;

void triple_barrier(const TripleBarrierLabel& l, std::span<const Candle> c, std::span<double> out) {
    const std::size_t n = c.size();
    const std::size_t blocks = (n + BLOCK - 1) / BLOCK;
    std::vector<double> block_low(blocks, std::numeric_limits<double>::infinity());
    std::vector<double> block_high(blocks, -std::numeric_limits<double>::infinity());
    for (std::size_t j = 0; j < n; ++j) {
        // NaN never touches a barrier, so it must not enter the block extremes either.
        if (c[j].low < block_low[j / BLOCK]) block_low[j / BLOCK] = c[j].low;
        if (c[j].high > block_high[j / BLOCK]) block_high[j / BLOCK] = c[j].high;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (runs_past(i, l.horizon, n)) {
            out[i] = NaN;
            continue;
        }
        const double c0 = c[i].close;
        const double upper = c0 * (1.0 + l.up);
        const double lower = c0 * (1.0 - l.down);
        const std::size_t last = i + l.horizon;
        double value = 0.0;
        std::size_t j = i + 1;
        while (j <= last) {
            if (j % BLOCK == 0 && j + BLOCK - 1 <= last) {
                const std::size_t b = j / BLOCK;
                if (!(block_low[b] <= lower) && !(block_high[b] >= upper)) {
                    j += BLOCK;
                    continue;
                }
            }
            if (c[j].low <= lower) {
                value = -1.0;
                break;
            }
            if (c[j].high >= upper) {
                value = 1.0;
                break;
            }
            ++j;
        }
        out[i] = value;
    }
}

}  // namespace

std::string label_column_name(const Label& label) {
    if (auto* f = std::get_if<ForwardReturnLabel>(&label))
        return (f->log ? "fwd_log_return(" : "fwd_return(") + std::to_string(f->horizon) + ")";
    const auto& t = std::get<TripleBarrierLabel>(label);
    return "tb(" + std::to_string(t.horizon) + "," + key_number_text(t.up) + "," + key_number_text(t.down) + ")";
}

void label_values(const Label& label, std::span<const Candle> candles, std::span<double> out) {
    if (auto* f = std::get_if<ForwardReturnLabel>(&label)) forward_returns(*f, candles, out);
    else triple_barrier(std::get<TripleBarrierLabel>(label), candles, out);
}

}  // namespace ostrel::store
