#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "model/rgb.h"

namespace tesvid {

// The material of one grid node; the value set is closed.
enum class MaterialCode : std::uint8_t {
    Vacuum = 0,
    Iron = 1,
    MagnetS = 2,
    MagnetN = 3,
    Coil1 = 11,
    Coil2 = 12,
    Nonmag = 20,
};

constexpr bool IsMagnetic(MaterialCode m) {
    return m == MaterialCode::Iron || m == MaterialCode::MagnetS || m == MaterialCode::MagnetN;
}
constexpr bool IsCoil(MaterialCode m) { return m == MaterialCode::Coil1 || m == MaterialCode::Coil2; }

// True for the byte values that name a material.
constexpr bool IsValidMaterialByte(std::uint8_t v) {
    return v == 0 || v == 1 || v == 2 || v == 3 || v == 11 || v == 12 || v == 20;
}

// Palette index of each material's drawing colour.
constexpr int MaterialPaletteIndex(MaterialCode m) {
    switch (m) {
        case MaterialCode::Vacuum: return 7;
        case MaterialCode::Iron: return 0;
        case MaterialCode::MagnetS: return 9;
        case MaterialCode::MagnetN: return 12;
        case MaterialCode::Coil1: return 14;
        case MaterialCode::Coil2: return 13;
        case MaterialCode::Nonmag: return 10;
    }
    return 7;
}
constexpr Rgb MaterialColor(MaterialCode m) { return PaletteColor(MaterialPaletteIndex(m)); }

inline constexpr Rgb kVacuumColor = MaterialColor(MaterialCode::Vacuum);

// The six non-vacuum materials in the order the sampling compares them.
inline constexpr std::array<MaterialCode, 6> kSampledMaterials = {
    MaterialCode::Iron,  MaterialCode::MagnetS, MaterialCode::MagnetN,
    MaterialCode::Coil1, MaterialCode::Coil2,   MaterialCode::Nonmag};

// The material a colour stands for: exact match of all three components, anything else
// (and no colour at all, off the drawing) is Vacuum.
constexpr MaterialCode MaterialFromColor(std::optional<Rgb> c) {
    if (!c) {
        return MaterialCode::Vacuum;
    }
    for (MaterialCode m : kSampledMaterials) {
        if (MaterialColor(m) == *c) {
            return m;
        }
    }
    return MaterialCode::Vacuum;
}

// Palette buttons 0..6 in button-index order.
inline constexpr std::array<MaterialCode, 7> kPaletteButtons = {
    MaterialCode::Vacuum, MaterialCode::Iron,   MaterialCode::MagnetS, MaterialCode::Coil1,
    MaterialCode::Coil2,  MaterialCode::Nonmag, MaterialCode::MagnetN};

constexpr std::string_view MaterialLabel(MaterialCode m) {
    switch (m) {
        case MaterialCode::Vacuum: return "Vacuum";
        case MaterialCode::Iron: return "Iron";
        case MaterialCode::MagnetS: return "Magnet S";
        case MaterialCode::MagnetN: return "Magnet N";
        case MaterialCode::Coil1: return "Coil 1";
        case MaterialCode::Coil2: return "Coil 2";
        case MaterialCode::Nonmag: return "Nonmag.";
    }
    return "Vacuum";
}

}  // namespace tesvid
