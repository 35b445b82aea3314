#include "indicators/core/catalogue.hpp"
#include "indicators/cycles/mama_lines.hpp"

namespace ostrel {
namespace {

// The following line of the MESA adaptive average alone.
class Fama {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Fama, CoreError> create(double fast_limit, double slow_limit) {
        auto lines = MamaLines::create(fast_limit, slow_limit);
        if (!lines) return std::unexpected(lines.error());
        return Fama(*lines);
    }

    std::optional<double> update(double x) {
        const auto both = lines_.update(x);
        if (!both) return std::nullopt;
        return (*both)[1];
    }
    std::size_t warmup_period() const { return MamaLines::warmup; }

private:
    explicit Fama(MamaLines lines) : lines_(lines) {}
    MamaLines lines_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Fama, ostrel::Fama::create(p.real(0), p.real(1)))
