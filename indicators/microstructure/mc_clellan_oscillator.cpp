#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/breadth_counts.hpp"

namespace ostrel {
namespace {

class McClellanOscillator {
public:
    static constexpr InputKind input = InputKind::CrossSection;

    static std::expected<McClellanOscillator, CoreError> create() { return McClellanOscillator{}; }

    std::optional<double> update(const CrossSection& s) { return averages_.push(s); }

    std::size_t warmup_period() const { return 1; }

private:
    McClellanAverages averages_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(McClellanOscillator, McClellanOscillator::create())
