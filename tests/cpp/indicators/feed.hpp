#pragma once

// Helpers for indicator tests: build through the registry, feed a series, collect values.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "indicators/core/registry.hpp"

namespace ostrel::testing {

inline constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
inline constexpr double Inf = std::numeric_limits<double>::infinity();

// An indicator by name and parameters, for tables of cases.
struct Case {
    const char* name;
    std::vector<double> params;
};

// "Name(p0,p1)" for failure messages.
inline std::string label(const Case& c) {
    std::ostringstream s;
    s << c.name << '(';
    for (std::size_t i = 0; i < c.params.size(); ++i) s << (i ? "," : "") << c.params[i];
    s << ')';
    return s.str();
}

inline std::unique_ptr<Indicator> make(std::string_view name, std::vector<double> params) {
    auto made = create_indicator(name, params);
    if (!made) {
        ADD_FAILURE() << "cannot create " << name << ": " << made.error().display();
        return nullptr;
    }
    return std::move(*made);
}

// The creation failure text, or "ok".
inline std::string create_error(std::string_view name, std::vector<double> params) {
    auto made = create_indicator(name, params);
    return made ? std::string("ok") : made.error().display();
}

// Expects creation to succeed (want "ok") or to fail with the registry's message whose
// detail, after "invalid parameters for indicator {name}: ", is `want`.
inline void expect_creation(const Case& c, const std::string& want) {
    const std::string full = want == "ok" ? want : "invalid parameters for indicator " + std::string(c.name) + ": " + want;
    EXPECT_EQ(create_error(c.name, c.params), full) << label(c);
}

inline Candle candle(double open, double high, double low, double close, double volume = 1.0,
                     std::int64_t ts = 0) {
    return Candle{ts, open, high, low, close, volume};
}

// A valid candle around a close: open = close, high/low spread by `range`.
inline Candle bar(double close, double volume = 1.0, double range = 1.0, std::int64_t ts = 0) {
    return Candle{ts, close, close + range, close - range, close, volume};
}

// Feeds closes; NaN in the result marks a step without a value.
inline std::vector<double> run_closes(Indicator& ind, const std::vector<double>& closes) {
    std::vector<double> out;
    for (double c : closes) {
        StepView s;
        s.candle = Candle{0, c, c, c, c, 0.0};
        out.push_back(ind.update(s).value_or(NaN));
    }
    return out;
}

inline std::vector<double> run_candles(Indicator& ind, const std::vector<Candle>& candles) {
    std::vector<double> out;
    for (const Candle& c : candles) {
        StepView s;
        s.candle = c;
        out.push_back(ind.update(s).value_or(NaN));
    }
    return out;
}

inline std::vector<double> run_closes(std::string_view name, std::vector<double> params,
                                      const std::vector<double>& closes) {
    auto ind = make(name, std::move(params));
    return ind ? run_closes(*ind, closes) : std::vector<double>{};
}

inline std::vector<double> run_candles(std::string_view name, std::vector<double> params,
                                       const std::vector<Candle>& candles) {
    auto ind = make(name, std::move(params));
    return ind ? run_candles(*ind, candles) : std::vector<double>{};
}

// Index of the first step with a value, counted from 1 (0 when none).
inline std::size_t first_value_at(const std::vector<double>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!std::isnan(values[i])) return i + 1;
    return 0;
}

}  // namespace ostrel::testing
