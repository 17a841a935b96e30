#pragma once

namespace tesvid {

// Permeability of free space, H/m. The program has always used 1.256e-6 (4 pi 1e-7 rounded to
// four digits, 0.05 % low); stored potentials and every published figure depend on it.
inline constexpr double kMu0 = 1.256e-6;

inline constexpr double kTwoPi = 6.283185307179586;

// Tesla to gauss, for every read-out a person sees.
inline constexpr double kGaussPerTesla = 1e4;

}  // namespace tesvid
