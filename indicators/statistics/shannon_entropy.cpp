#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/extremes.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Entropy in bits of the histogram of the last N closes over `bins` equal-width bins
// spanning the window's range; 0 for an empty range.
class ShannonEntropy {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<ShannonEntropy, CoreError> create(std::uint64_t period, std::uint64_t bins) {
        // The bin count divides the range and bounds the histogram like a window length.
        if (auto e = period_error(period, bins)) return std::unexpected(*e);
        if (bins < 2) return std::unexpected(CoreError::invalid_period("Shannon entropy needs bins >= 2"));
        return ShannonEntropy(period, bins);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        window_.push(x);
        if (!window_.full()) return std::nullopt;
        const double lo = window_min(window_);
        const double hi = window_max(window_);
        if (hi == lo) return 0.0;
        // A range wider than the largest double is binned at half scale (same bins).
        const double scale = std::isinf(hi - lo) ? 0.5 : 1.0;
        const double width = (hi * scale - lo * scale) / static_cast<double>(bins_);
        auto bin_of = [&](double v) -> std::size_t {
            const double q = (v * scale - lo * scale) / width;
            // The top value, and anything rounding past it, goes to the last bin; a width
            // that underflowed to 0 gives the lowest value 0/0 and is placed in bin 0.
            // Below the last bin q is positive and truncation is its floor.
            if (q >= static_cast<double>(bins_ - 1)) return bins_ - 1;
            return q > 0.0 ? static_cast<std::size_t>(q) : 0;
        };

        const double n = static_cast<double>(window_.size());
        double h = 0.0;
        auto add = [&](std::size_t count) {
            const double p = static_cast<double>(count) / n;
            h -= p * std::log2(p);
        };
        if (bins_ <= window_.size()) {
            // At most N counters, cleared per step.
            counts_.assign(bins_, 0);
            window_.for_each([&](double v) { ++counts_[bin_of(v)]; });
            for (std::size_t c : counts_)
                if (c != 0) add(c);
        } else {
            // More bins than values: order the values' bin numbers instead of clearing the table.
            counts_.clear();
            window_.for_each([&](double v) { counts_.push_back(bin_of(v)); });
            std::sort(counts_.begin(), counts_.end());
            for (std::size_t i = 0; i < counts_.size();) {
                std::size_t j = i;
                while (j < counts_.size() && counts_[j] == counts_[i]) ++j;
                add(j - i);
                i = j;
            }
        }
        return h;
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    ShannonEntropy(std::size_t n, std::size_t bins) : window_(n), bins_(bins) {}

    RingWindow<double> window_;
    std::size_t bins_;
    std::vector<std::size_t> counts_;  // bin counters, or bin numbers when bins > N
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ShannonEntropy, ostrel::ShannonEntropy::create(p.count(0), p.count(1)))
