#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "indicators/core/core_error.hpp"
#include "indicators/core/records.hpp"

namespace ostrel {

inline constexpr std::uint64_t MAX_PERIOD = 16777216;

enum class InputKind : std::uint8_t {
    Close,
    Candle,
    Pair,
    Derivatives,
    Trades,
    OrderBook,
    CrossSection,
    Microstructure,
};

// Everything one step offers; lives for one update call.
struct StepView {
    std::optional<double> reference;
    const DerivativesTick* derivs = nullptr;
    Candle candle;
    std::span<const TradePrint> trades;
    const OrderBook* book = nullptr;
    const CrossSection* section = nullptr;
};

// One symbol's aligned feeds: every non-null array has one entry per candle.
struct SeriesView {
    std::span<const Candle> candles;
    // The candles' closes side by side, when the caller has them: close-only members then
    // stream 8 bytes per step instead of a whole candle.
    const double* closes = nullptr;
    const double* reference = nullptr;
    const DerivativesTick* derivs = nullptr;
    const OrderBook* books = nullptr;
    const std::vector<TradePrint>* trades = nullptr;
    const CrossSection* sections = nullptr;

    StepView step(std::size_t i) const {
        StepView s;
        if (reference) s.reference = reference[i];
        if (derivs) s.derivs = &derivs[i];
        s.candle = candles[i];
        if (trades) s.trades = trades[i];
        if (books) s.book = &books[i];
        if (sections) s.section = &sections[i];
        return s;
    }
};

using NamedOutputs = std::vector<std::pair<std::string, double>>;

class Indicator {
public:
    virtual ~Indicator() = default;
    virtual std::optional<double> update(const StepView& step) = 0;
    // Named outputs of the latest update that returned a value; empty for single-output members.
    virtual NamedOutputs extra_outputs() const = 0;
    virtual std::size_t warmup_period() const = 0;

    virtual InputKind input_kind() const = 0;
    virtual std::size_t output_count() const = 0;
    // Runs every step of a series: columns[0] receives the primary value, columns[1 + j]
    // the j-th named output (a null column is skipped); NaN where a step has no value.
    virtual void run(const SeriesView& series, std::span<double* const> columns) = 0;

    // The catalogue's comma-joined output names; set once by the registry.
    void set_output_names(std::string_view names) { output_names_ = names; }
    std::string_view output_names() const { return output_names_; }

protected:
    std::string_view output_names_;
};

using FactoryResult = std::expected<std::unique_ptr<Indicator>, CoreError>;

namespace detail {

template <class Out>
struct OutputShape {
    static constexpr std::size_t width = 0;  // single value
};
template <std::size_t K>
struct OutputShape<std::optional<std::array<double, K>>> {
    static constexpr std::size_t width = K;
};

template <InputKind Kind, class T>
struct TypedOutput;
template <class T>
struct TypedOutput<InputKind::Close, T> {
    using type = decltype(std::declval<T&>().update(double{}));
};
template <class T>
struct TypedOutput<InputKind::Candle, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const Candle&>()));
};
template <class T>
struct TypedOutput<InputKind::Pair, T> {
    using type = decltype(std::declval<T&>().update(double{}, double{}));
};
template <class T>
struct TypedOutput<InputKind::Derivatives, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const DerivativesTick&>()));
};
template <class T>
struct TypedOutput<InputKind::Trades, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const TradePrint&>()));
};
template <class T>
struct TypedOutput<InputKind::OrderBook, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const OrderBook&>()));
};
template <class T>
struct TypedOutput<InputKind::CrossSection, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const CrossSection&>()));
};
template <class T>
struct TypedOutput<InputKind::Microstructure, T> {
    using type = decltype(std::declval<T&>().update(std::declval<const StepView&>()));
};

}  // namespace detail

// Wraps a typed indicator (static `input`, `update` on its natural input, `warmup_period`)
// into the virtual interface; the input-kind rules live here and nowhere else.
template <class T>
class Adapter final : public Indicator {
public:
    static constexpr InputKind kind = T::input;
    using Out = typename detail::TypedOutput<kind, T>::type;
    static constexpr std::size_t width = detail::OutputShape<Out>::width;

    explicit Adapter(T typed) : typed_(std::move(typed)) {}

    std::optional<double> update(const StepView& step) override { return record(feed(step)); }

    NamedOutputs extra_outputs() const override {
        NamedOutputs out;
        if constexpr (width > 0) {
            out.reserve(width);
            std::string_view rest = output_names_;
            for (std::size_t j = 0; j < width; ++j) {
                const std::size_t comma = rest.find(',');
                out.emplace_back(std::string(rest.substr(0, comma)), last_[j]);
                rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            }
        }
        return out;
    }

    std::size_t warmup_period() const override { return typed_.warmup_period(); }
    InputKind input_kind() const override { return kind; }
    std::size_t output_count() const override { return width; }

    void run(const SeriesView& s, std::span<double* const> columns) override {
        const std::size_t used = std::min(columns.size(), 1 + width);
        if constexpr (kind == InputKind::Close) {
            if (s.closes) {
                run_steps(s.candles.size(), columns, used, [&](std::size_t i) { return typed_.update(s.closes[i]); });
                return;
            }
        }
        run_steps(s.candles.size(), columns, used, [&](std::size_t i) { return feed_series(s, i); });
    }

    T& typed() { return typed_; }

private:
    template <class Step>
    static void run_steps(std::size_t n, std::span<double* const> columns, std::size_t used, Step step) {
        constexpr double nan = std::numeric_limits<double>::quiet_NaN();
        if constexpr (width == 0) {
            double* col = used > 0 ? columns[0] : nullptr;
            if (!col) {
                for (std::size_t i = 0; i < n; ++i) step(i);
                return;
            }
            for (std::size_t i = 0; i < n; ++i) {
                const Out out = step(i);
                col[i] = out ? *out : nan;
            }
        } else {
            for (std::size_t i = 0; i < n; ++i) {
                const Out out = step(i);
                for (std::size_t j = 0; j < used; ++j) {
                    if (!columns[j]) continue;
                    columns[j][i] = out ? (*out)[j == 0 ? 0 : j - 1] : nan;
                }
            }
        }
    }

    std::optional<double> record(const Out& out) {
        if (!out) return std::nullopt;
        if constexpr (width == 0) {
            return *out;
        } else {
            last_ = *out;
            return last_[0];
        }
    }

    Out feed(const StepView& s) {
        if constexpr (kind == InputKind::Close) {
            return typed_.update(s.candle.close);
        } else if constexpr (kind == InputKind::Candle) {
            if (!candle_is_valid(s.candle)) return Out{};
            return typed_.update(s.candle);
        } else if constexpr (kind == InputKind::Pair) {
            if (!s.reference) return Out{};
            return feed_pair(s.candle.close, *s.reference);
        } else if constexpr (kind == InputKind::Derivatives) {
            if (!s.derivs) return Out{};
            return typed_.update(*s.derivs);
        } else if constexpr (kind == InputKind::Trades) {
            return feed_trades(s.trades);
        } else if constexpr (kind == InputKind::OrderBook) {
            if (!s.book) return Out{};
            return typed_.update(*s.book);
        } else if constexpr (kind == InputKind::CrossSection) {
            if (!s.section) return Out{};
            return typed_.update(*s.section);
        } else {
            return typed_.update(s);
        }
    }

    // Same rules as feed, without assembling a StepView for the common kinds.
    Out feed_series(const SeriesView& s, std::size_t i) {
        if constexpr (kind == InputKind::Close) {
            return typed_.update(s.candles[i].close);
        } else if constexpr (kind == InputKind::Candle) {
            if (!candle_is_valid(s.candles[i])) return Out{};
            return typed_.update(s.candles[i]);
        } else if constexpr (kind == InputKind::Pair) {
            if (!s.reference) return Out{};
            return feed_pair(s.candles[i].close, s.reference[i]);
        } else {
            return feed(s.step(i));
        }
    }

    Out feed_pair(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return Out{};
        return typed_.update(x, y);
    }

    // Every trade updates the state; the step reports the last trade's result.
    Out feed_trades(std::span<const TradePrint> trades) {
        Out out{};
        for (const TradePrint& t : trades) out = typed_.update(t);
        return out;
    }

    T typed_;
    std::array<double, width> last_{};
};

template <class T>
FactoryResult adapt(std::expected<T, CoreError> typed) {
    if (!typed) return std::unexpected(typed.error());
    return std::make_unique<Adapter<T>>(std::move(*typed));
}

}  // namespace ostrel
