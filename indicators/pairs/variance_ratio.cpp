#include <cstdint>
#include <expected>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/pairs/spread_window.hpp"

namespace ostrel {
namespace {

// Lo–MacKinlay variance ratio of the spread x − y: the variance of overlapping q-step changes
// over q times the variance of one-step changes, from the last N spreads. Equal one-step
// changes have no variance (recognised exactly) and give 1.
class VarianceRatio {
public:
    static constexpr InputKind input = InputKind::Pair;

    static std::expected<VarianceRatio, CoreError> create(std::uint64_t period, std::uint64_t q) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        if (q < 2) return std::unexpected(CoreError::invalid_period("variance ratio needs q >= 2"));
        // N ≥ q + 2 without forming q + 2, which wraps for the largest counts.
        if (period < 2 || period - 2 < q)
            return std::unexpected(CoreError::invalid_period("variance ratio needs period >= q + 2"));
        return VarianceRatio(period, q);
    }

    std::optional<double> update(double x, double y) {
        const std::vector<double>* spreads = window_.push(x, y);
        if (!spreads) return std::nullopt;
        const std::vector<double>& s = *spreads;
        diffs_.clear();
        for (std::size_t i = 1; i < s.size(); ++i) diffs_.push_back(s[i] - s[i - 1]);
        const std::size_t m = diffs_.size();  // N − 1
        double sum = 0.0;
        bool flat = true;
        for (double d : diffs_) {
            sum += d;
            flat = flat && d == diffs_[0];
        }
        if (flat) return 1.0;
        const double mu = sum / static_cast<double>(m);
        double ss = 0.0;
        for (double d : diffs_) ss += (d - mu) * (d - mu);
        const double v1 = ss / static_cast<double>(m);
        if (!(v1 > 0.0)) return 1.0;
        const double q_mu = static_cast<double>(q_) * mu;
        double sq = 0.0;
        for (std::size_t j = 0; j + q_ <= m; ++j) {
            double step = 0.0;
            for (std::size_t i = j; i < j + q_; ++i) step += diffs_[i];
            sq += (step - q_mu) * (step - q_mu);
        }
        const double vq = sq / static_cast<double>(m + 1 - q_);
        return vq / (static_cast<double>(q_) * v1);
    }

    std::size_t warmup_period() const { return window_.period(); }

private:
    VarianceRatio(std::size_t n, std::size_t q) : window_(n), q_(q) {}

    SpreadWindow window_;
    std::size_t q_;
    std::vector<double> diffs_;  // one-step changes of the window, oldest first
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(VarianceRatio, ostrel::VarianceRatio::create(p.count(0), p.count(1)))
