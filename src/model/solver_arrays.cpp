#include "model/solver_arrays.h"

#include <cstddef>

namespace tesvid {

bool ArraysFitGrid(const SolverArrays& arrays, int n) {
    if (n < 2) {
        return false;
    }
    const std::size_t nodes = static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1);
    const auto fits = [&](const auto& grid) { return grid.N() == n && grid.Size() == nodes; };
    const auto columns = static_cast<std::size_t>(n) + 1;
    return fits(arrays.VecPot) && fits(arrays.Reluctivity) && fits(arrays.Source) &&
           fits(arrays.Material) && fits(arrays.UniformStencil) &&
           arrays.CoefRPlus.size() >= columns && arrays.CoefRMinus.size() >= columns &&
           arrays.CoefDiag.size() >= columns;
}

}  // namespace tesvid
