#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/rounding_pattern.hpp"

namespace ostrel {
namespace {

struct FryPanBottomSide {
    static constexpr double signal = 1.0;
    static constexpr const char* too_short = "frying pan bottom needs period >= 5";
    static bool beyond(double a, double b) { return a < b; }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(FryPanBottom, ostrel::RoundingPattern<ostrel::FryPanBottomSide>::create(p.count(0)))
