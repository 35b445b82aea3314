#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Measured from the origin: the third turn extends 1.272 to 1.414 of the first leg and the
// completion retraces 0.74 to 0.83 of the whole move from the origin.
struct CypherRule {
    static constexpr std::size_t pivots = 5;
    static double of(const Pivots<5>& p) {
        const double xa = leg(p, 0, 1);
        const double xc = leg(p, 0, 3);
        const bool all = ratio_within(leg(p, 1, 2), xa, {0.382, 0.618}) &&
                         ratio_within(xc, xa, {1.272, 1.414}) &&
                         ratio_within(leg(p, 3, 4), xc, {0.74, 0.83});
        return all ? completion_sign(p[4]) : 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Cypher, ostrel::SwingPattern<ostrel::CypherRule>::create())
