#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/number_text.hpp"
#include "indicators/core/registry.hpp"

using namespace ostrel;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

std::string create_text(std::string_view name, std::vector<double> params) {
    auto made = create_indicator(name, params);
    return made ? std::string("ok") : made.error().display();
}

std::vector<std::string> split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, sep)) out.push_back(field);
    if (!line.empty() && line.back() == sep) out.emplace_back();
    return out;
}

}  // namespace

TEST(Catalogue, MatchesTheReferenceTable) {
    std::ifstream in(std::string(OSTREL_TEST_DATA_DIR) + "/catalogue.tsv");
    ASSERT_TRUE(in) << "missing tests/data/catalogue.tsv";
    std::string line;
    std::getline(in, line);  // header
    std::size_t row = 0;
    const auto table = catalogue();
    while (std::getline(in, line)) {
        auto f = split(line, '\t');
        ASSERT_EQ(f.size(), 5u) << line;
        ASSERT_LT(row, table.size());
        const CatalogueEntry& e = table[row++];
        EXPECT_EQ(e.name, f[0]);
        EXPECT_EQ(e.params, f[1]) << f[0];
        EXPECT_EQ(input_kind_name(e.input), f[2]) << f[0];
        EXPECT_EQ(e.outputs, f[3]) << f[0];
        EXPECT_EQ(e.family, f[4]) << f[0];
        EXPECT_EQ(find_entry(f[0]), &e);
    }
    EXPECT_EQ(row, 495u);
    EXPECT_EQ(table.size(), 495u);
}

// Every built member is created with valid parameters and agrees with its row.
TEST(Catalogue, BuiltMembersAgreeWithTheirRows) {
    for (const CatalogueEntry& e : catalogue()) {
        if (!e.factory) continue;
        auto made = create_indicator(e.name, std::vector<double>(9, 3.0));
        if (!made) continue;  // members with stricter constraints are covered by their family tests
        std::size_t outputs = e.outputs.empty() ? 0 : 1 + std::count(e.outputs.begin(), e.outputs.end(), ',');
        EXPECT_EQ((*made)->output_count(), outputs) << e.name;
        EXPECT_EQ((*made)->input_kind(), e.input) << e.name;
    }
}

TEST(Registry, InputClasses) {
    const std::pair<const char*, int> cases[] = {
        {"Sma", 0},        {"PearsonCorrelation", 0}, {"Vpin", 1},        {"Microprice", 2},
        {"KylesLambda", 3}, {"FundingRate", 4},       {"AdvanceDecline", 5}, {"NoSuchThing", 255},
        {"Macd", 255},     {"Bollinger", 255},        {"", 255},          {"sma", 255},
        {"Sma ", 255},     {"EstimatedLeverageRatio", 0},
    };
    for (auto [name, code] : cases) EXPECT_EQ(input_class(name), code) << name;
}

TEST(Registry, CreationMessages) {
    const double big = 16777217;
    const struct {
        const char* name;
        std::vector<double> params;
        const char* expected;
    } cases[] = {
        {"sma", {20}, "unknown indicator type: sma"},
        {"NoSuchThing", {}, "unknown indicator type: NoSuchThing"},
        {"Sma", {}, "invalid parameters for indicator Sma: missing parameter #0"},
        {"Sma", {20, 99}, "ok"},
        {"Sma", {20.0000000000000001}, "ok"},
        {"Sma", {2.5}, "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got 2.5"},
        {"Sma", {0}, "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got 0"},
        {"Sma", {-3}, "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got -3"},
        {"Sma", {-0.0}, "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got -0"},
        {"Sma", {1e-7},
         "invalid parameters for indicator Sma: parameter #0 must be a positive integer, got 0.0000001"},
        {"Sma", {NaN}, "invalid parameters for indicator Sma: parameter #0 must be finite"},
        {"Sma", {-Inf}, "invalid parameters for indicator Sma: parameter #0 must be finite"},
        // Below the whole-number tolerance a count truncates to 0.
        {"Sma", {1e-20}, "invalid parameters for indicator Sma: period must be greater than zero"},
        {"Sma", {16777216}, "ok"},
        {"Sma", {big},
         "invalid parameters for indicator Sma: invalid period: period exceeds the maximum supported window "
         "length (see MAX_PERIOD)"},
        {"Sma", {1e300},
         "invalid parameters for indicator Sma: invalid period: period exceeds the maximum supported window "
         "length (see MAX_PERIOD)"},
    };
    for (const auto& c : cases) EXPECT_EQ(create_text(c.name, c.params), c.expected) << c.name;
}

TEST(Registry, ParameterKinds) {
    const struct {
        const char* kinds;
        std::vector<double> values;
        const char* expected;
    } cases[] = {
        {"count,float", {3}, "missing parameter #1"},
        {"count,float", {3, NaN}, "parameter #1 must be finite"},
        {"count,float", {3, -1e300}, "ok"},
        {"int32", {-2147483648.0}, "ok"},
        {"int32", {2147483647.0}, "ok"},
        {"int32", {2147483648.0}, "parameter #0 must be an i32, got 2147483648"},
        {"int32", {-2147483649.0}, "parameter #0 must be an i32, got -2147483649"},
        {"int32", {1.5}, "parameter #0 must be an i32, got 1.5"},
        {"int32", {Inf}, "parameter #0 must be finite"},
        {"uint32", {0}, "ok"},
        {"uint32", {-0.0}, "ok"},
        {"uint32", {4294967295.0}, "ok"},
        {"uint32", {4294967296.0}, "parameter #0 must be a u32, got 4294967296"},
        {"uint32", {-1}, "parameter #0 must be a u32, got -1"},
        {"count,count,uint32", {1, 2, 0.5}, "parameter #2 must be a u32, got 0.5"},
        // The first failing position stops the reading.
        {"count,count", {0, NaN}, "parameter #0 must be a positive integer, got 0"},
    };
    for (const auto& c : cases) {
        auto r = convert_parameters(c.kinds, c.values);
        EXPECT_EQ(r ? std::string("ok") : r.error(), c.expected) << c.kinds;
    }
    auto r = convert_parameters("count,float,int32,uint32", std::vector<double>{1e300, -2.5, -7, 9});
    ASSERT_TRUE(r);
    EXPECT_EQ(r->count(0), UINT64_MAX);
    EXPECT_EQ(r->real(1), -2.5);
    EXPECT_EQ(r->i32(2), -7);
    EXPECT_EQ(r->u32(3), 9u);
    auto tiny = convert_parameters("count", std::vector<double>{2.2e-16});
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->count(0), 0u);
}

TEST(Registry, NumberText) {
    const std::pair<double, std::string> cases[] = {
        {2.5, "2.5"}, {-3, "-3"}, {1e-7, "0.0000001"}, {-0.0, "-0"}, {0.1, "0.1"}, {100, "100"},
        {1e21, "1000000000000000000000"}, {0.30000000000000004, "0.30000000000000004"},
        {123.456, "123.456"}, {-0.00012, "-0.00012"}, {5e-324, "0." + std::string(323, '0') + "5"},
        {1.7976931348623157e308, "17976931348623157" + std::string(292, '0')},
    };
    for (auto [v, text] : cases) EXPECT_EQ(shortest_positional(v), text);
    EXPECT_EQ(shortest_positional(2e300), "2" + std::string(300, '0'));
}

TEST(Registry, CreatesIndependentIndicators) {
    auto a = create_indicator("Sma", std::vector<double>{2});
    auto b = create_indicator("Sma", std::vector<double>{2});
    ASSERT_TRUE(a && b);
    StepView s;
    s.candle.close = 1;
    EXPECT_FALSE((*a)->update(s));
    s.candle.close = 3;
    EXPECT_EQ((*a)->update(s), 2.0);
    EXPECT_FALSE((*b)->update(s));
    EXPECT_TRUE((*a)->extra_outputs().empty());
    EXPECT_EQ((*a)->warmup_period(), 2u);
}

// An alias creates its target, and every message names the target.
TEST(Registry, Aliases) {
    EXPECT_EQ(resolve_alias("Macd"), "MacdIndicator");
    EXPECT_EQ(resolve_alias("Bollinger"), "BollingerBands");
    EXPECT_EQ(resolve_alias("Sma"), "Sma");
    for (auto [alias, target] : {std::pair{"Macd", "MacdIndicator"}, std::pair{"Bollinger", "BollingerBands"}}) {
        const bool built = find_entry(target)->factory != nullptr;
        EXPECT_EQ(create_text(alias, {}), built ? std::string("invalid parameters for indicator ") + target +
                                                      ": missing parameter #0"
                                                : std::string("unknown indicator type: ") + alias);
    }
}
