#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace ostrel {

// Highest high and lowest low of the last N (high, low) pairs in constant amortised time:
// two monotonic deques of arrival indices. A new pair drops from the back of the high deque
// every entry whose high is ≤ its own (of the low deque every entry whose low is ≥ its own),
// appends itself, and entries that left the window are dropped from the front. Inputs are
// expected finite. Storage grows with the data up to N entries per deque.
class SlidingExtremes {
public:
    // 1 ≤ period ≤ MAX_PERIOD, checked by the caller.
    explicit SlidingExtremes(std::uint64_t period) : period_(period) {}

    void push(double high, double low) {
        while (!highs_.empty() && highs_.back().value <= high) highs_.pop_back();
        while (!lows_.empty() && lows_.back().value >= low) lows_.pop_back();
        // Only indices i − N + 1 … i − 1 may stay, so the new entry always fits.
        if (count_ >= period_) {
            const std::uint64_t first = count_ - period_ + 1;
            while (!highs_.empty() && highs_.front().index < first) highs_.pop_front();
            while (!lows_.empty() && lows_.front().index < first) lows_.pop_front();
        }
        highs_.push_back({count_, high}, period_);
        lows_.push_back({count_, low}, period_);
        ++count_;
    }
    void push(double x) { push(x, x); }

    bool full() const { return count_ >= period_; }
    std::uint64_t period() const { return period_; }
    // Meaningful once a value has been pushed.
    double highest() const { return highs_.front().value; }
    double lowest() const { return lows_.front().value; }

private:
    struct Entry {
        std::uint64_t index;
        double value;
    };

    // A double-ended queue on a circular buffer that grows by doubling up to its capacity.
    class Deque {
    public:
        bool empty() const { return size_ == 0; }
        const Entry& front() const { return buf_[head_]; }
        const Entry& back() const { return buf_[slot(size_ - 1)]; }
        void pop_front() {
            head_ = head_ + 1 == buf_.size() ? 0 : head_ + 1;
            --size_;
        }
        void pop_back() { --size_; }
        void push_back(Entry e, std::uint64_t capacity) {
            if (size_ == buf_.size()) grow(capacity);
            buf_[slot(size_)] = e;
            ++size_;
        }

    private:
        std::size_t slot(std::size_t i) const {
            const std::size_t j = head_ + i;
            return j >= buf_.size() ? j - buf_.size() : j;
        }
        [[gnu::noinline]] void grow(std::uint64_t capacity) {
            const std::size_t want = static_cast<std::size_t>(
                std::min<std::uint64_t>(capacity, std::max<std::uint64_t>(16, 2 * buf_.size())));
            std::vector<Entry> next(want);
            for (std::size_t i = 0; i < size_; ++i) next[i] = buf_[slot(i)];
            buf_ = std::move(next);
            head_ = 0;
        }

        std::vector<Entry> buf_;
        std::size_t head_ = 0;
        std::size_t size_ = 0;
    };

    std::uint64_t period_;
    std::uint64_t count_ = 0;
    Deque highs_;
    Deque lows_;
};

}  // namespace ostrel
