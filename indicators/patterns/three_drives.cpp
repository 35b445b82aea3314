#include <array>

#include "indicators/core/catalogue.hpp"
#include "indicators/patterns/swing_pattern.hpp"

namespace ostrel {
namespace {

// Three similar drives, each extending its corrective leg by 1.13 to 1.75.
struct ThreeDrivesRule {
    static constexpr std::size_t pivots = 7;
    static double of(const Pivots<7>& p) {
        std::array<double, 6> l;
        for (std::size_t i = 0; i < 6; ++i) l[i] = std::fabs(leg(p, i, i + 1));
        constexpr RatioBounds drive{1.13, 1.75};
        const bool all = ratio_within(l[1], l[0], drive) && ratio_within(l[3], l[2], drive) &&
                         ratio_within(l[5], l[4], drive) && within(l[1], l[3], 0.2) &&
                         within(l[3], l[5], 0.2) && within(l[0], l[2], 0.3) && within(l[2], l[4], 0.3);
        return all ? completion_sign(p[6]) : 0.0;
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(ThreeDrives, ostrel::SwingPattern<ostrel::ThreeDrivesRule>::create())
