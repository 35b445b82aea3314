#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/anchored_moments.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Sample entropy ln(B/A) of the last N closes: B counts pairs of distinct templates of
// length m within tolerance r = r_factor·σ, A those pairs that still match at length m + 1.
// Recomputed from the whole window at every step (quadratic in N).
class SampleEntropy {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<SampleEntropy, CoreError> create(std::uint64_t period, std::uint64_t m, double r_factor) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        // N ≥ m + 2 without forming m + 2, which wraps for the largest m.
        if (period < 2 || period - 2 < m)
            return std::unexpected(CoreError::invalid_period("sample entropy needs period >= m + 2"));
        if (!(std::isfinite(r_factor) && r_factor > 0.0))
            return std::unexpected(
                CoreError::invalid_parameter("sample entropy r_factor must be finite and positive"));
        return SampleEntropy(period, m, r_factor);
    }

    std::optional<double> update(double v) {
        if (!std::isfinite(v)) return std::nullopt;
        window_.push(v);
        flat_.push(v);
        if (!window_.full()) return std::nullopt;
        // Exactly zero variance; a flat window's computed mean may miss its value by an ulp.
        if (flat_.covers(window_.size())) return 0.0;

        x_.clear();
        window_.for_each([&](double c) { x_.push_back(c); });
        const std::size_t n = x_.size();
        double sum = 0.0;
        for (double c : x_) sum += c;
        const double mean = sum / static_cast<double>(n);
        double ss = 0.0;
        for (double c : x_) ss += (c - mean) * (c - mean);
        const double variance = std::max(0.0, ss / static_cast<double>(n));
        if (variance == 0.0) return 0.0;
        const double r = r_factor_ * std::sqrt(variance);

        const std::size_t templates = n - m_;
        std::uint64_t b = 0;
        std::uint64_t a = 0;
        for (std::size_t k = 0; k < templates; ++k) {
            for (std::size_t l = k + 1; l < templates; ++l) {
                std::size_t t = 0;
                while (t < m_ && std::fabs(x_[k + t] - x_[l + t]) <= r) ++t;
                if (t < m_) continue;
                ++b;
                if (std::fabs(x_[k + m_] - x_[l + m_]) <= r) ++a;
            }
        }
        if (b == 0) return 0.0;
        if (a == 0) return std::log(static_cast<double>(b));
        return std::log(static_cast<double>(b) / static_cast<double>(a));
    }

    std::size_t warmup_period() const { return window_.capacity(); }

private:
    SampleEntropy(std::size_t n, std::size_t m, double r_factor) : window_(n), m_(m), r_factor_(r_factor) {}

    RingWindow<double> window_;
    std::size_t m_;
    double r_factor_;
    FlatRun flat_;
    std::vector<double> x_;  // the window oldest first; grows once to N
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(SampleEntropy, ostrel::SampleEntropy::create(p.count(0), p.count(1), p.real(2)))
