#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/rounding_pattern.hpp"

namespace ostrel {
namespace {

struct DumplingTopSide {
    static constexpr double signal = -1.0;
    static constexpr const char* too_short = "dumpling top needs period >= 5";
    static bool beyond(double a, double b) { return a > b; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(DumplingTop, ostrel::RoundingPattern<ostrel::DumplingTopSide>::create(p.count(0)))
