#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Rescaled-range Hurst exponent of the last N closes: the least-squares slope of ln(R/S)
// against ln(chunk size) over splits into 1 … `chunks` chunks, clamped to [0, 1].
class HurstExponent {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<HurstExponent, CoreError> create(std::uint64_t period, std::uint64_t chunks) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (chunks < 2) return std::unexpected(CoreError::invalid_period("Hurst chunks must be >= 2"));
        // N ≥ 2·chunks without forming 2·chunks, which wraps for the largest counts.
        if (period / 2 < chunks)
            return std::unexpected(CoreError::invalid_period("Hurst period must be >= 2 * chunks"));
        return HurstExponent(period, chunks);
    }

    std::optional<double> update(double v) {
        if (!std::isfinite(v)) return std::nullopt;
        window_.push(v);
        if (!window_.full()) return std::nullopt;

        x_.clear();
        window_.for_each([&](double c) { x_.push_back(c); });
        const std::size_t n = x_.size();
        points_.clear();
        for (std::size_t c = 1; c <= chunks_; ++c) {
            const std::size_t m = n / c;
            double rs_sum = 0.0;
            std::size_t counted = 0;
            for (std::size_t j = 0; j < c; ++j) {
                if (auto rs = rescaled_range(j * m, m)) {
                    rs_sum += *rs;
                    ++counted;
                }
            }
            if (counted > 0)
                points_.emplace_back(std::log(static_cast<double>(m)),
                                     std::log(rs_sum / static_cast<double>(counted)));
        }
        if (points_.size() < 2) return 0.5;

        const double k = static_cast<double>(points_.size());
        double mx = 0.0, my = 0.0;
        for (const auto& [px, py] : points_) {
            mx += px;
            my += py;
        }
        mx /= k;
        my /= k;
        double sxy = 0.0, sxx = 0.0;
        for (const auto& [px, py] : points_) {
            sxy += (px - mx) * (py - my);
            sxx += (px - mx) * (px - mx);
        }
        // Splits can share a chunk size (N = 10 in 4 or 5 chunks: 2 values each); points all on
        // one size define no slope.
        if (sxx == 0.0) return 0.5;
        return std::clamp(sxy / sxx, 0.0, 1.0);
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    HurstExponent(std::size_t n, std::size_t chunks) : window_(n), chunks_(chunks) {}

    // R/S of x_[begin, begin + m), or nothing when R or S is 0.
    std::optional<double> rescaled_range(std::size_t begin, std::size_t m) const {
        const double* c = x_.data() + begin;
        const double size = static_cast<double>(m);
        bool flat = true;
        double sum = 0.0;
        for (std::size_t i = 0; i < m; ++i) {
            sum += c[i];
            flat = flat && c[i] == c[0];
        }
        // A chunk of identical values has R = S = 0, even where its computed mean is off by an ulp.
        if (flat) return std::nullopt;
        const double mean = sum / size;
        double y = 0.0, ss = 0.0;
        double hi = -std::numeric_limits<double>::infinity();
        double lo = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < m; ++i) {
            const double d = c[i] - mean;
            y += d;
            hi = std::max(hi, y);
            lo = std::min(lo, y);
            ss += d * d;
        }
        const double r = hi - lo;
        const double s = std::sqrt(ss / size);
        if (r == 0.0 || s == 0.0) return std::nullopt;
        return r / s;
    }

    RingWindow<double> window_;
    std::size_t chunks_;
    std::vector<double> x_;                           // the window oldest first
    std::vector<std::pair<double, double>> points_;   // (ln m, ln mean R/S); at most `chunks`
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(HurstExponent, ostrel::HurstExponent::create(p.count(0), p.count(1)))
