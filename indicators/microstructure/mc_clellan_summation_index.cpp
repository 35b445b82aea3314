#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/microstructure/breadth_counts.hpp"

namespace ostrel {
namespace {

// Running total of the McClellan oscillator.
class McClellanSummationIndex {
public:
    static constexpr InputKind input = InputKind::CrossSection;

    static std::expected<McClellanSummationIndex, CoreError> create() { return McClellanSummationIndex{}; }

    std::optional<double> update(const CrossSection& s) {
        total_ += averages_.push(s);
        return total_;
    }

    std::size_t warmup_period() const { return 1; }

private:
    McClellanAverages averages_;
    double total_ = 0.0;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(McClellanSummationIndex, McClellanSummationIndex::create())
