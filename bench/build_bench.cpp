// One build of 1,000,000 candles through the store: reading the command, evaluating the
// common indicator set, writing the frame. Also times triple-barrier labels.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "indicators/core/registry.hpp"
#include "store/build/build.hpp"
#include "store/build/frame_writer.hpp"
#include "store/build/labels.hpp"
#include "store/documents/feature_spec.hpp"
#include "store/documents/input_documents.hpp"
#include "store/json/json_reader.hpp"

using namespace ostrel;
using namespace ostrel::store;
using Clock = std::chrono::steady_clock;

namespace {

double seconds_since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

std::string candles_json(std::size_t n) {
    std::mt19937_64 rng(5);
    std::normal_distribution<double> step(0.0, 0.01);
    std::string out = "[";
    double p = 100.0;
    char buf[256];
    for (std::size_t i = 0; i < n; ++i) {
        const double o = p;
        p *= 1.0 + step(rng);
        const double h = std::max(o, p) * 1.002, l = std::min(o, p) * 0.998;
        std::snprintf(buf, sizeof buf, "%s{\"ts\":%zu,\"open\":%.4f,\"high\":%.4f,\"low\":%.4f,\"close\":%.4f,\"volume\":%.1f}",
                      i ? "," : "", 1700000000000 + i * 60000, o, h, l, p, 1000.0 + static_cast<double>(i % 97));
        out += buf;
    }
    out += "]";
    return out;
}

void bench_triple_barrier(const char* what, const std::vector<Candle>& candles, std::uint64_t horizon) {
    std::vector<double> out(candles.size());
    const auto t = Clock::now();
    label_values(TripleBarrierLabel{horizon, 0.02, 0.02}, candles, out);
    std::printf("triple barrier, %s, %zu candles, horizon %llu: %.3f s\n", what, candles.size(),
                static_cast<unsigned long long>(horizon), seconds_since(t));
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t n = argc > 1 ? std::stoul(argv[1]) : 1000000;
    const char* common[][2] = {{"Sma", "20"},           {"Ema", "20"},        {"Rsi", "14"},
                               {"BollingerBands", "20,2"}, {"Atr", "14"},     {"MacdIndicator", "12,26,9"},
                               {"Stochastic", "14,3,3"}, {"Cci", "20"},       {"Mfi", "14"},
                               {"WilliamsR", "14"}};
    std::string features;
    std::printf("features:");
    for (auto& f : common) {
        std::vector<double> params;
        for (std::string_view rest = f[1]; !rest.empty();) {
            const auto comma = rest.find(',');
            params.push_back(std::stod(std::string(rest.substr(0, comma))));
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        }
        if (!create_indicator(f[0], params)) continue;  // family not built yet
        std::printf(" %s(%s)", f[0], f[1]);
        features += std::string(features.empty() ? "" : ",") + "{\"kind\":\"indicator\",\"name\":\"" + f[0] +
                    "\",\"params\":[" + f[1] + "]}";
    }
    std::printf("\n");
    auto spec = read_spec_text("{\"universe\":[\"A\"],\"features\":[" + features + "]}");
    if (!spec) return std::puts(spec.error().text().c_str()), 1;

    const std::string text = "{\"A\":" + candles_json(n) + "}";
    auto t = Clock::now();
    json::ParseResult parsed = json::parse(text);
    auto series = read_series_map(*parsed.document.root());
    const double reading = seconds_since(t);
    if (!series) return std::puts(series.error().c_str()), 1;

    t = Clock::now();
    auto frame = build(*spec, *series);
    const double evaluating = seconds_since(t);
    if (!frame) return std::puts(frame.error().text().c_str()), 1;

    t = Clock::now();
    const std::string json_text = write_json(*frame);
    const double writing = seconds_since(t);

    const double total = reading + evaluating + writing;
    std::printf("%zu candles (%.1f MB of JSON): total %.3f s, %.0f candles/s\n", n, text.size() / 1e6, total,
                n / total);
    std::printf("  reading    %.3f s (%4.1f%%)\n", reading, 100 * reading / total);
    std::printf("  evaluating %.3f s (%4.1f%%)\n", evaluating, 100 * evaluating / total);
    std::printf("  writing    %.3f s (%4.1f%%, %.1f MB)\n", writing, 100 * writing / total, json_text.size() / 1e6);

    const auto& candles = series->begin()->second.candles;
    bench_triple_barrier("random walk", candles, 1000);
    std::vector<Candle> flat(n, Candle{0, 100, 100, 100, 100, 1});
    bench_triple_barrier("flat series", flat, 1000);
    return 0;
}
