#include <cstdint>
#include <expected>
#include <optional>

#include "indicators/core/catalogue.hpp"
#include "indicators/core/period.hpp"
#include "indicators/momentum/change_window.hpp"

namespace ostrel {
namespace {

// Chande's momentum oscillator over the last N close-to-close changes.
class Cmo {
public:
    static constexpr InputKind input = InputKind::Close;

    static std::expected<Cmo, CoreError> create(std::uint64_t n) {
        if (auto e = period_error(n)) return std::unexpected(*e);
        return Cmo(n);
    }

    std::optional<double> update(double x) {
        if (!changes_.push(x) || !changes_.full()) return std::nullopt;
        return changes_.cmo();
    }

    std::size_t warmup_period() const { return changes_.period() + 1; }

private:
    explicit Cmo(std::uint64_t n) : changes_(n) {}

    ChangeWindow changes_;
};

}  // namespace
}  // namespace ostrel

OSTREL_FACTORY(Cmo, ostrel::Cmo::create(p.count(0)))
