#pragma once

#include <cstdint>

#include "model/drawing_surface.h"
#include "model/grid2d.h"
#include "model/model.h"

namespace tesvid {

// How the force-line drawing reports to the window: progress, the event-loop yield, Stop.
class ForceLineObserver {
  public:
    virtual ~ForceLineObserver() = default;
    // The part of the seed columns done, 0 .. 1, after every column.
    virtual void SetProgressFraction(double /*fraction*/) {}
    // Called after every seed node.
    virtual void Yield() {}
    // Tested before every seed column.
    virtual bool StopRequested() const { return false; }
};

// The working grids of the force-line drawing, owned by whoever draws (the result view, the
// printed report, the batch picture).
//
// A force line is a line of constant flux function psi = r A: the flux through the circle of
// radius r at that height is 2 pi r A, so between two lines of constant r A the same flux
// flows. On the grid psi(i, j) = i A(i, j) (r A / h). Lines are traced as iso-lines of psi.
struct ForceLineGrids {
    Grid2D<double> FluxFunction;     // i A(i, j)
    Grid2D<std::uint8_t> TraceMark;  // set: no line has passed near this node yet
    Grid2D<std::int16_t> NodeColor;  // palette colour of a line over the node (with the map)
};

// Where a line may start: every inner node (the drawing area) or only the uniform-stencil
// nodes, that is the air away from windings and magnetic material (the printed report).
enum class ForceLineSeeds { AllInnerNodes, UniformStencilNodes };

// FluxFunction = i A and TraceMark on the inner nodes 1 .. N-1 as the seeds choose; creates
// both grids for the arrays' grid. False when the potential does not exist for gridSize.
bool PrepareForceLines(const SolverArrays& arrays, int gridSize, ForceLineSeeds seeds,
                       ForceLineGrids& grids);

// The seed loop shared by the screen and the page: every node i, j = 2 .. N-2 (columns
// outer) still marked starts a line at the level FluxFunction(i, j) * levelFactor (the factor
// keeps the level off the seed's own value, so the line does not run through nodes, where its
// crossing of the cell edges would be ambiguous). Stop is honoured before each column.
template <typename TraceLevel>
void TraceForceLineSeeds(ForceLineGrids& grids, int n, double levelFactor,
                         ForceLineObserver& observer, TraceLevel&& trace) {
    for (int i = 2; i <= n - 2; ++i) {
        if (observer.StopRequested()) {
            return;
        }
        for (int j = 2; j <= n - 2; ++j) {
            if (grids.TraceMark(i, j) != 0) {
                trace(grids.FluxFunction(i, j) * levelFactor);
            }
            observer.Yield();
        }
        observer.SetProgressFraction(static_cast<double>(i) / n);
    }
}

// The force lines over the drawing area (user scale 0..N), pen width 1, copy mode, each piece
// in the colour of NodeColor under it when the field map is shown, else white. Does nothing
// when the potential does not exist for GridSize (or NodeColor, with the map shown).
void DrawForceLines(const Model& m, ForceLineGrids& grids, DrawingSurface& picture1,
                    bool drawFieldTicked, ForceLineObserver& observer);

}  // namespace tesvid
