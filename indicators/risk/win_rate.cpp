#include "indicators/core/catalogue.hpp"
#include "indicators/risk/gain_loss_window.hpp"

namespace ostrel {
namespace {

// Share of strictly positive returns; zero returns count as non-wins.
struct WinRateRule {
    static double value(const GainLossWindow& w) {
        return static_cast<double>(w.wins()) / w.size();
    }
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(WinRate, ostrel::GainLossMember<ostrel::WinRateRule>::create(p.count(0)))
