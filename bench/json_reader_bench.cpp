// Throughput of building the document from a ~50 MB array of candle objects.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "store/json/json_reader.hpp"

namespace {

std::string candle_text(std::size_t target_bytes) {
  std::mt19937_64 rng(42);
  std::uniform_int_distribution<int> cents(-200, 200);
  std::uniform_int_distribution<int> volume(0, 999999);
  std::string text = "[";
  text.reserve(target_bytes + 256);
  long long ts = 1700000000000;
  long long close = 1000000;  // hundredths
  char buf[256];
  while (text.size() < target_bytes) {
    const long long open = close;
    close = std::max(100LL, close + cents(rng));
    const long long high = std::max(open, close) + cents(rng) / 4 + 50;
    const long long low = std::min(open, close) - cents(rng) / 4 - 50;
    const int n = std::snprintf(buf, sizeof buf,
                                "%s{\"ts\":%lld,\"open\":%lld.%02lld,\"high\":%lld.%02lld,"
                                "\"low\":%lld.%02lld,\"close\":%lld.%02lld,\"volume\":%d.%d}",
                                text.size() > 1 ? "," : "", ts, open / 100, open % 100, high / 100,
                                high % 100, low / 100, low % 100, close / 100, close % 100,
                                volume(rng), volume(rng) % 10);
    text.append(buf, static_cast<std::size_t>(n));
    ts += 60000;
  }
  text += ']';
  return text;
}

}  // namespace

int main() {
  const std::string text = candle_text(50u << 20);
  double best = 0.0;
  std::size_t candles = 0;
  for (int round = 0; round < 7; ++round) {
    const auto t0 = std::chrono::steady_clock::now();
    const auto result = ostrel::store::json::parse(text);
    const auto t1 = std::chrono::steady_clock::now();
    if (result.error) {
      std::printf("unexpected error: %s\n", result.error->text().c_str());
      return 1;
    }
    candles = result.document.root()->size();
    const double seconds = std::chrono::duration<double>(t1 - t0).count();
    const double mbps = static_cast<double>(text.size()) / 1e6 / seconds;
    std::printf("round %d: %.1f ms, %.0f MB/s\n", round, seconds * 1e3, mbps);
    best = std::max(best, mbps);
  }
  std::printf("%zu bytes, %zu candles, best %.0f MB/s\n", text.size(), candles, best);
  return 0;
}
