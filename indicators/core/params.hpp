#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace ostrel {

enum class ParamKind : std::uint8_t { Count, Float, Int32, UInt32 };

inline constexpr std::size_t MAX_PARAMS = 9;

// Parameters after the registry has checked and converted them by their kinds.
class Params {
public:
    std::uint64_t count(std::size_t i) const { return slots_[i].count; }
    double real(std::size_t i) const { return slots_[i].real; }
    std::int32_t i32(std::size_t i) const { return slots_[i].i32; }
    std::uint32_t u32(std::size_t i) const { return slots_[i].u32; }

    void set_count(std::size_t i, std::uint64_t v) { slots_[i].count = v; }
    void set_real(std::size_t i, double v) { slots_[i].real = v; }
    void set_i32(std::size_t i, std::int32_t v) { slots_[i].i32 = v; }
    void set_u32(std::size_t i, std::uint32_t v) { slots_[i].u32 = v; }

private:
    union Slot {
        std::uint64_t count;
        double real;
        std::int32_t i32;
        std::uint32_t u32;
    };
    std::array<Slot, MAX_PARAMS> slots_{};
};

}  // namespace ostrel
