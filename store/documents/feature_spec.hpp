#pragma once

#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "store/json/json_reader.hpp"
#include "store/store_error.hpp"

namespace ostrel::store {

enum class OutputFormat : std::uint8_t { Json, Csv, Arrow, Parquet };
enum class ScalingMode : std::uint8_t { ZScore, MinMax };
enum class WarmupPolicy : std::uint8_t { Nan, Skip };
enum class PriceField : std::uint8_t { Open, High, Low, Close, Volume };

std::string_view name_of(OutputFormat f);
std::string_view name_of(PriceField f);

struct IndicatorFeature {
    std::string name;
    std::vector<double> params;
    std::optional<std::string> field;
};
struct PriceFeature {
    PriceField field = PriceField::Close;
};
struct MicrostructureFeature {
    std::string metric;
    std::vector<double> params;
};
using Feature = std::variant<IndicatorFeature, PriceFeature, MicrostructureFeature>;

struct ForwardReturnLabel {
    std::uint64_t horizon = 0;
    bool log = false;
};
struct TripleBarrierLabel {
    std::uint64_t horizon = 0;
    double up = 0.0;
    double down = 0.0;
};
using Label = std::variant<ForwardReturnLabel, TripleBarrierLabel>;

struct FeatureSpec {
    std::vector<std::string> universe;
    std::optional<std::string> timeframe;
    std::vector<Feature> features;
    std::vector<Label> labels;
    std::optional<std::uint64_t> window;
    OutputFormat output = OutputFormat::Json;
    std::optional<ScalingMode> scaling;
    WarmupPolicy warmup = WarmupPolicy::Nan;
};

// The constructor's reading: positions in every message, repeated keys rejected.
std::expected<FeatureSpec, StoreError> read_spec_text(std::string_view text);
// The reading of a parsed command's field: no positions, the last repeated key wins.
std::expected<FeatureSpec, StoreError> read_spec_value(const json::Value& value);

// The checks run after every reading and at the start of every build.
std::optional<StoreError> check_spec(const FeatureSpec& spec);

}  // namespace ostrel::store
