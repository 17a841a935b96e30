#pragma once

#include <cstdint>

namespace tesvid {

// An exact 24-bit colour.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    constexpr bool operator==(const Rgb&) const = default;
    constexpr std::uint32_t Packed() const {
        return 0xFF000000u | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | std::uint32_t{b};
    }
    static constexpr Rgb FromPacked(std::uint32_t v) {
        return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
                   static_cast<std::uint8_t>(v)};
    }
    constexpr Rgb Inverted() const {
        return Rgb{static_cast<std::uint8_t>(255 - r), static_cast<std::uint8_t>(255 - g),
                   static_cast<std::uint8_t>(255 - b)};
    }
};

// The classic 16-colour palette.
constexpr Rgb PaletteColor(int index) {
    constexpr Rgb table[16] = {
        {0, 0, 0},     {0, 0, 128},   {0, 128, 0},   {0, 128, 128},   {128, 0, 0},     {128, 0, 128},
        {128, 128, 0}, {192, 192, 192}, {128, 128, 128}, {0, 0, 255}, {0, 255, 0},   {0, 255, 255},
        {255, 0, 0},   {255, 0, 255}, {255, 255, 0}, {255, 255, 255}};
    return (index >= 0 && index < 16) ? table[index] : Rgb{0, 0, 0};
}

}  // namespace tesvid
