#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace ostrel {

// Least squares through the normal equations A·β = b, with A = Σ row·rowᵀ and b = Σ row·target
// accumulated in observation order and solved by Gaussian elimination and back substitution.
// A pivot below 1e-12·max(1, largest diagonal entry of A) fails the solve, so an exactly
// singular system whose rounding leaves tiny pivots is not read as a fit.
class LeastSquares {
public:
    enum class Pivoting {
        None,
        // In each column the row of largest magnitude, a later row winning ties.
        Partial,
    };

    explicit LeastSquares(Pivoting pivoting) : pivoting_(pivoting) {}

    // Fits `count` observations of `k` regressors: `observe(t, row)` fills row t and returns its
    // target. False when the solve fails; the coefficients are then meaningless.
    template <class Observe>
    bool fit(std::size_t k, std::size_t count, Observe&& observe) {
        k_ = k;
        a_.assign(k * k, 0.0);
        b_.assign(k, 0.0);
        row_.assign(k, 0.0);
        for (std::size_t t = 0; t < count; ++t) {
            const double target = observe(t, row_.data());
            for (std::size_t i = 0; i < k; ++i) {
                for (std::size_t j = 0; j < k; ++j) a_[i * k + j] += row_[i] * row_[j];
                b_[i] += row_[i] * target;
            }
        }
        double largest = 1.0;
        for (std::size_t i = 0; i < k; ++i) largest = std::max(largest, a_[i * k + i]);
        limit_ = 1e-12 * largest;
        return solve(b_, beta_);
    }

    const std::vector<double>& coefficients() const { return beta_; }

    // target − β·row.
    double residual(const double* row, double target) const {
        double fitted = 0.0;
        for (std::size_t i = 0; i < k_; ++i) fitted += beta_[i] * row[i];
        return target - fitted;
    }

    // Σ residual² over the observations of the last fit.
    template <class Observe>
    double residual_sum_squares(std::size_t count, Observe&& observe) {
        double rss = 0.0;
        for (std::size_t t = 0; t < count; ++t) {
            const double target = observe(t, row_.data());
            const double e = residual(row_.data(), target);
            rss += e * e;
        }
        return rss;
    }

    // Entry i of the solution of A·z = e_i, the i-th diagonal element of A⁻¹; nothing when the
    // solve fails.
    std::optional<double> inverse_diagonal(std::size_t i) {
        unit_.assign(k_, 0.0);
        unit_[i] = 1.0;
        if (!solve(unit_, z_)) return std::nullopt;
        return z_[i];
    }

private:
    bool solve(const std::vector<double>& rhs, std::vector<double>& out) {
        const std::size_t k = k_;
        m_ = a_;
        r_ = rhs;
        out.assign(k, 0.0);
        for (std::size_t c = 0; c < k; ++c) {
            if (pivoting_ == Pivoting::Partial) {
                std::size_t best = c;
                for (std::size_t r = c + 1; r < k; ++r)
                    if (std::fabs(m_[r * k + c]) >= std::fabs(m_[best * k + c])) best = r;
                if (best != c) {
                    for (std::size_t j = 0; j < k; ++j) std::swap(m_[c * k + j], m_[best * k + j]);
                    std::swap(r_[c], r_[best]);
                }
            }
            const double pivot = m_[c * k + c];
            if (!(std::fabs(pivot) >= limit_)) return false;
            for (std::size_t r = c + 1; r < k; ++r) {
                const double f = m_[r * k + c] / pivot;
                for (std::size_t j = c; j < k; ++j) m_[r * k + j] -= f * m_[c * k + j];
                r_[r] -= f * r_[c];
            }
        }
        for (std::size_t i = k; i-- > 0;) {
            double s = r_[i];
            for (std::size_t j = i + 1; j < k; ++j) s -= m_[i * k + j] * out[j];
            out[i] = s / m_[i * k + i];
        }
        return true;
    }

    Pivoting pivoting_;
    std::size_t k_ = 0;
    double limit_ = 1e-12;
    // Sized on the first fit and reused; k·k entries at most.
    std::vector<double> a_, b_, row_, beta_, m_, r_, unit_, z_;
};

}  // namespace ostrel
