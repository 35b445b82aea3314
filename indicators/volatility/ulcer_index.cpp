#include <algorithm>
#include <cmath>
#include <cstdint>
#include <expected>
#include <optional>
#include <utility>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/rolling/running_sum.hpp"

namespace ostrel {
namespace {

// Maximum of the last N values in amortised constant time: a deque of (arrival, value) whose
// values strictly decrease from front to back. Storage grows with the entries, up to N.
class RollingMax {
public:
    explicit RollingMax(std::size_t period) : period_(period) {}

    void push(double x) {
        if (size_ > 0 && at(0).arrival + period_ <= arrivals_) pop_front();
        // An older value not above the new one can never be the maximum again.
        while (size_ > 0 && at(size_ - 1).value <= x) --size_;
        if (size_ == buffer_.size()) grow();
        slot(size_) = {arrivals_, x};
        ++size_;
        ++arrivals_;
    }

    bool full() const { return arrivals_ >= period_; }
    double max() const { return at(0).value; }

private:
    struct Entry {
        std::uint64_t arrival;
        double value;
    };

    std::size_t index(std::size_t i) const {
        const std::size_t j = head_ + i;
        return j >= buffer_.size() ? j - buffer_.size() : j;
    }
    Entry& slot(std::size_t i) { return buffer_[index(i)]; }
    const Entry& at(std::size_t i) const { return buffer_[index(i)]; }

    void pop_front() {
        head_ = index(1);
        --size_;
    }

    // Never beyond N entries: the expired front leaves before a new value comes in.
    [[gnu::noinline]] void grow() {
        std::vector<Entry> larger(std::min(period_, std::max<std::size_t>(16, buffer_.size() * 2)));
        for (std::size_t i = 0; i < size_; ++i) larger[i] = at(i);
        buffer_ = std::move(larger);
        head_ = 0;
    }

    std::vector<Entry> buffer_;
    std::size_t period_;
    std::size_t head_ = 0;
    std::size_t size_ = 0;
    std::uint64_t arrivals_ = 0;
};

// Root mean square of the last N percent drawdowns from the rolling maximum of N closes.
class UlcerIndex {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<UlcerIndex, CoreError> create(std::uint64_t period) {
        if (auto e = period_error(period)) return std::unexpected(*e);
        return UlcerIndex(period);
    }

    std::optional<double> update(double x) {
        if (!std::isfinite(x)) return std::nullopt;
        highs_.push(x);
        if (!highs_.full()) return std::nullopt;
        const double m = highs_.max();
        double square = 0.0;
        if (m != 0.0) {
            const double drawdown = 100.0 * (x - m) / m;
            square = drawdown * drawdown;
        }
        squares_.push(square);
        if (!squares_.full()) return std::nullopt;
        return std::sqrt(std::max(squares_.sum() / n_, 0.0));
    }

    std::size_t warmup_period() const { return 2 * squares_.period() - 1; }

private:
    explicit UlcerIndex(std::size_t period) : highs_(period), squares_(period), n_(static_cast<double>(period)) {}

    RollingMax highs_;
    RunningSum squares_;
    double n_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(UlcerIndex, ostrel::UlcerIndex::create(p.count(0)))
