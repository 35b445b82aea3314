#include <algorithm>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/pairs/sample_correlation.hpp"
#include "indicators/pairs/window_check.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Pearson correlation of the two series' ranks within the window; tied values share the
// average of their ranks. Ranks are exact half-integers, so a fully tied series has zero
// rank variance exactly.
class SpearmanCorrelation {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<SpearmanCorrelation, CoreError> create(std::uint64_t period) {
        if (auto e = window_error(period, 2, "spearman correlation needs period >= 2")) return std::unexpected(*e);
        return SpearmanCorrelation(period);
    }

    std::optional<double> update(double x, double y) {
        window_.push({x, y});
        if (!window_.full()) return std::nullopt;
        const std::size_t n = window_.size();
        values_.resize(n);
        rank_x_.resize(n);
        rank_y_.resize(n);
        order_.resize(n);
        std::size_t i = 0;
        window_.for_each([&](const std::pair<double, double>& v) { values_[i++] = v.first; });
        rank(rank_x_);
        i = 0;
        window_.for_each([&](const std::pair<double, double>& v) { values_[i++] = v.second; });
        rank(rank_y_);
        return sample_correlation(rank_x_.data(), rank_y_.data(), n);
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    explicit SpearmanCorrelation(std::size_t n) : window_(n) {}

    // Ranks of values_ from 1, ties averaged.
    void rank(std::vector<double>& out) {
        const std::size_t n = values_.size();
        for (std::size_t i = 0; i < n; ++i) order_[i] = i;
        std::sort(order_.begin(), order_.end(), [&](std::size_t a, std::size_t b) { return values_[a] < values_[b]; });
        for (std::size_t start = 0; start < n;) {
            std::size_t end = start + 1;
            while (end < n && values_[order_[end]] == values_[order_[start]]) ++end;
            // Positions start … end − 1 hold ranks start + 1 … end; their average.
            const double average = (static_cast<double>(start + 1) + static_cast<double>(end)) * 0.5;
            for (std::size_t k = start; k < end; ++k) out[order_[k]] = average;
            start = end;
        }
    }

    RingWindow<std::pair<double, double>> window_;
    // Scratch of one step, grown once to N.
    std::vector<double> values_, rank_x_, rank_y_;
    std::vector<std::size_t> order_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SpearmanCorrelation, ostrel::SpearmanCorrelation::create(p.count(0)))
