#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/sequential/td_setup.hpp"

namespace ostrel {

enum class TdCountdownRule : std::uint8_t { Sequential, Combo };

// A price-flip setup followed by a countdown in the direction of the last completed setup;
// a setup completing the other way resets both countdowns. As an indicator it yields the
// signed countdown.
template <TdCountdownRule Rule>
class TdCountdownCore {
public:
    static constexpr InputKind input = InputKind::Candle;

    struct Step {
        double setup;
        double countdown;
        double direction;
    };

    static std::expected<TdCountdownCore, CoreError> create(std::uint64_t setup_lookback, std::uint64_t setup_length,
                                                          std::uint64_t countdown_lookback,
                                                          std::uint64_t countdown_length) {
        if (auto e = td_counts_error(setup_length, setup_lookback, countdown_lookback)) return std::unexpected(*e);
        if (countdown_length == 0) return std::unexpected(CoreError::zero_period());
        return TdCountdownCore(setup_lookback, setup_length, countdown_lookback, countdown_length);
    }

    std::optional<Step> push(const Candle& k) {
        if (!setup_.begin(k)) return std::nullopt;
        if (setup_.buy_complete()) {
            turn(Direction::Buy);
        } else if (setup_.sell_complete()) {
            turn(Direction::Sell);
        }
        if (direction_ == Direction::Buy) {
            if (buy_bar(k) && buy_count_ < length_) advance(buy_count_, k.close, !reference_ || k.low <= *reference_);
        } else if (direction_ == Direction::Sell) {
            if (sell_bar(k) && sell_count_ < length_) advance(sell_count_, k.close, !reference_ || k.high >= *reference_);
        }
        setup_.store(k);
        return Step{setup_.signed_count(), countdown(), static_cast<double>(static_cast<int>(direction_))};
    }

    std::optional<double> update(const Candle& k) {
        const auto step = push(k);
        if (!step) return std::nullopt;
        return step->countdown;
    }

    std::size_t warmup_period() const { return setup_.warmup_period(); }

private:
    enum class Direction : int { Sell = -1, None = 0, Buy = 1 };

    TdCountdownCore(std::uint64_t l1, std::uint64_t n1, std::uint64_t l2, std::uint64_t n2)
        : setup_(l1, n1, std::max(l1, l2)), lookback_(static_cast<std::size_t>(l2)), length_(n2) {}

    void turn(Direction d) {
        if (direction_ == d) return;
        buy_count_ = 0;
        sell_count_ = 0;
        reference_.reset();
        direction_ = d;
    }

    bool buy_bar(const Candle& k) const {
        const Candle& x = setup_.ago(lookback_);
        if constexpr (Rule == TdCountdownRule::Combo) {
            const Candle& p = setup_.ago(1);
            return k.close < p.close && k.close <= x.low && k.low <= p.low;
        } else {
            return k.close <= x.low;
        }
    }

    bool sell_bar(const Candle& k) const {
        const Candle& x = setup_.ago(lookback_);
        if constexpr (Rule == TdCountdownRule::Combo) {
            const Candle& p = setup_.ago(1);
            return k.close > p.close && k.close >= x.high && k.high >= p.high;
        } else {
            return k.close >= x.high;
        }
    }

    // `reaches_reference`: the bar's low at or below the reference close (buy), its high at or
    // above it (sell), or no reference yet; the final bar counts only then.
    void advance(std::uint64_t& count, [[maybe_unused]] double close, [[maybe_unused]] bool reaches_reference) {
        const std::uint64_t next = count + 1;
        if constexpr (Rule == TdCountdownRule::Sequential) {
            if (next == length_ && !reaches_reference) return;
            count = next;
            // N2 - 5 compared without wrapping for short countdowns.
            if (length_ > 5 && next == length_ - 5) reference_ = close;
        } else {
            count = next;
        }
    }

    double countdown() const {
        if (direction_ == Direction::Buy) return static_cast<double>(buy_count_);
        return direction_ == Direction::Sell ? -static_cast<double>(sell_count_) : 0.0;
    }

    TdSetupCounter setup_;
    std::size_t lookback_;
    std::uint64_t length_;
    Direction direction_ = Direction::None;
    std::uint64_t buy_count_ = 0;
    std::uint64_t sell_count_ = 0;
    std::optional<double> reference_;
};

}  // namespace ostrel
