#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <numbers>
#include <optional>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/cycles/roofing_filter.hpp"
#include "indicators/rolling/ring_window.hpp"

namespace ostrel {
namespace {

// Dominant cycle period from the smoothed spectral power of the roofed close's
// autocorrelations (three-bar averaging length).
class AutocorrelationPeriodogram {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<AutocorrelationPeriodogram, CoreError> create(std::uint64_t a, std::uint64_t b) {
        if (a == 0 || b == 0) return std::unexpected(CoreError::zero_period());
        if (!(3 < a && a < b))
            return std::unexpected(CoreError::invalid_period(
                "autocorrelation periodogram needs AvgLength < min_period < max_period"));
        if (b <= 10)
            return std::unexpected(
                CoreError::invalid_period("lp_period must be strictly less than hp_period"));
        if (b > MAX_PERIOD - avg_length)
            return std::unexpected(CoreError::invalid_period(MAX_PERIOD_MESSAGE));
        auto roof = RoofingFilter::create(10, b);
        if (!roof) return std::unexpected(roof.error());
        return AutocorrelationPeriodogram(a, b, *roof);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        const auto f = roof_.update(x);
        if (!f) return std::nullopt;
        ring_.push(*f);
        if (!ring_.full()) return std::nullopt;
        // Storage for the spectrum arrives with the data that needs it.
        if (power_.empty()) prepare();

        const std::size_t n = ring_.size();
        for (std::size_t k = 0; k <= b_; ++k) {
            double su = 0.0, sv = 0.0, suu = 0.0, svv = 0.0, suv = 0.0;
            for (std::size_t j = 0; j < avg_length; ++j) {
                const double u = ring_[n - 1 - j], v = ring_[n - 1 - j - k];
                su += u;
                sv += v;
                suu += u * u;
                svv += v * v;
                suv += u * v;
            }
            const double var = (3.0 * suu - su * su) * (3.0 * svv - sv * sv);
            corr_[k] = var > 0.0 ? (3.0 * suv - su * sv) / std::sqrt(var) : 0.0;
        }

        max_power_ = 0.995 * max_power_;
        for (std::size_t p = a_; p <= b_; ++p) {
            double c = 0.0, s = 0.0;
            for (std::size_t k = avg_length; k <= b_; ++k) {
                c += corr_[k] * cosine(p, k);
                s += corr_[k] * sine(p, k);
            }
            const double pw = c * c + s * s;
            double& r = power_[p - a_];
            r = 0.8 * r + 0.2 * (pw * pw);
            max_power_ = std::max(max_power_, r);
        }

        double cycle = static_cast<double>(a_);
        if (max_power_ > 0.0) {
            double num = 0.0, den = 0.0;
            for (std::size_t p = a_; p <= b_; ++p) {
                const double rel = power_[p - a_] / max_power_;
                if (rel >= 0.5) {
                    num += static_cast<double>(p) * rel;
                    den += rel;
                }
            }
            if (den > 0.0)
                cycle = std::clamp(num / den, static_cast<double>(a_), static_cast<double>(b_));
        }
        return cycle;
    }
    std::size_t warmup_period() const { return ring_.capacity(); }

private:
    static constexpr std::size_t avg_length = 3;
    static constexpr std::size_t table_limit = 65536;

    AutocorrelationPeriodogram(std::uint64_t a, std::uint64_t b, RoofingFilter roof)
        : a_(a), b_(b), roof_(roof), ring_(b + avg_length) {}

    void prepare() {
        power_.assign(b_ - a_ + 1, 0.0);
        corr_.assign(b_ + 1, 0.0);
        const std::size_t lags = b_ - 2;
        if ((b_ - a_ + 1) * lags > table_limit) return;
        cos_.resize((b_ - a_ + 1) * lags);
        sin_.resize(cos_.size());
        for (std::size_t p = a_; p <= b_; ++p)
            for (std::size_t k = avg_length; k <= b_; ++k) {
                const std::size_t i = (p - a_) * lags + (k - avg_length);
                cos_[i] = std::cos(angle(p, k));
                sin_[i] = std::sin(angle(p, k));
            }
    }
    static double angle(std::size_t p, std::size_t k) {
        return 2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(p);
    }
    double cosine(std::size_t p, std::size_t k) const {
        return cos_.empty() ? std::cos(angle(p, k)) : cos_[(p - a_) * (b_ - 2) + (k - avg_length)];
    }
    double sine(std::size_t p, std::size_t k) const {
        return sin_.empty() ? std::sin(angle(p, k)) : sin_[(p - a_) * (b_ - 2) + (k - avg_length)];
    }

    std::size_t a_, b_;
    RoofingFilter roof_;
    RingWindow<double> ring_;
    std::vector<double> power_, corr_, cos_, sin_;
    double max_power_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(AutocorrelationPeriodogram,
               ostrel::AutocorrelationPeriodogram::create(p.count(0), p.count(1)))
