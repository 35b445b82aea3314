#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

namespace ostrel {

// First-in first-out buffer of at most `capacity` elements. Storage grows with the data up to
// the capacity, so a huge configured window costs nothing until values arrive.
template <class T>
class RingWindow {
public:
    explicit RingWindow(std::size_t capacity) : capacity_(capacity) {}

    std::size_t capacity() const { return capacity_; }
    std::size_t size() const { return count_; }
    bool full() const { return count_ == capacity_; }
    bool empty() const { return count_ == 0; }

    // Appends x; when full, evicts and returns the oldest element first.
    std::optional<T> push(const T& x) {
        if (count_ == capacity_) [[likely]] {
            T old = data_[head_];
            data_[head_] = x;
            head_ = head_ + 1 == capacity_ ? 0 : head_ + 1;
            return old;
        }
        append(x);
        return std::nullopt;
    }

    // i = 0 is the oldest element.
    const T& operator[](std::size_t i) const {
        const std::size_t j = head_ + i;
        return data_[j >= count_ ? j - count_ : j];
    }
    const T& oldest() const { return (*this)[0]; }
    const T& newest() const { return (*this)[count_ - 1]; }

    // Visits the elements oldest first.
    template <class F>
    void for_each(F&& f) const {
        for (std::size_t i = head_; i < count_; ++i) f(data_[i]);
        for (std::size_t i = 0; i < head_; ++i) f(data_[i]);
    }

    template <class Acc, class F>
    Acc fold(Acc acc, F&& f) const {
        for_each([&](const T& v) { acc = f(acc, v); });
        return acc;
    }

private:
    // Filling is rare next to steady-state pushes; kept out of line so push inlines.
    [[gnu::noinline]] void append(const T& x) {
        if (data_.size() == data_.capacity())
            data_.reserve(std::min(capacity_, std::max<std::size_t>(16, data_.size() * 2)));
        data_.push_back(x);
        ++count_;
    }

    std::vector<T> data_;
    std::size_t capacity_;
    std::size_t head_ = 0;  // oldest element once full
    std::size_t count_ = 0;
};

}  // namespace ostrel
