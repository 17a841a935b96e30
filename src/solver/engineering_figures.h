#pragma once

// Engineering figures of a calculated field: each coil's flux linkage, inductance, resistance,
// power and axial force, the stored magnetic energy, the axial force on any body, and the flux
// through a circle about the axis. They are read from the potential alone (with the material
// map and the project's currents, wire diameters and material constants), so a project loaded
// with its stored potential gives the same figures as the calculation that produced it.
//
// Sign conventions. Z runs down the picture: F_z > 0 pulls a body down the picture. A positive
// current density gives a negative Bz on the axis; the flux through a circle is counted in the
// direction of +Bz (down the picture), so the flux inside a coil with a positive current is
// negative. A coil's flux linkage is counted in the sense its own current drives the flux, so
// Psi has the sign of the current and L = Psi / I is positive.
//
// Method. The force on a body is the Lorentz force on its sources in the grid's own equations
// (winding currents, magnet face currents, the magnetisation currents of its iron or magnet
// links); for a body in vacuum this is the Maxwell stress on any contour through the vacuum
// around it, and where bodies touch the shared links go to the body whose reluctivity they
// carry. The physics and its discretisation are stated in engineering_figures.cpp.
//
// Accuracy, with today's fixed schedule run to convergence on a 100 grid (windings of 10 x 15
// to 10 x 20 cells, the area's edge 25 mm or more away; tests/solver/figures_test.cpp): the
// inductance of an air coil within 0.1 % of the loop integrals, its energy likewise; the force
// between two coaxial coils within 0.6 %, equal and opposite within 0.6 % (the edge); a coil
// above an iron plate within 0.5 % of its image force, when the plate's face is taken half a
// cell above its first iron row, as the grid places it; an iron plunger touching its coil
// within 0.05 % of the virtual work (I^2 / 2) dL/dz; the forces on all bodies sum to within
// 0.1 % of the largest. The error falls with the square of the cell size for coils; forces
// across a gap of g cells between iron and a coil drawn at the nodes carry an error of order
// 1 / (2 g) from where the grid puts the iron's face. An unconverged calculation gives
// unconverged figures: the pot-core sample's 10 main passes on a 200 grid give L 24 % low.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/material_code.h"
#include "model/model.h"

namespace tesvid {

struct CoilEngineeringFigures {
    bool present = false;    // at least one inner node of the coil
    double turns = 0;        // as the coil panel derives them
    double current = 0;      // A
    double fluxLinkage = 0;  // Psi, Wb (weber-turns)
    // Psi / I, H: with iron the secant inductance at this current; with both coils carrying
    // current it includes the other coil's flux (apparent inductance). None at zero current.
    std::optional<double> inductance;
    double resistance = 0;  // ohm, copper wire of the coil panel (square d x d section)
    double power = 0;       // W, I^2 R, as the coil panel shows it
    double forceZ = 0;      // N, Lorentz force on the whole winding, > 0 down the picture
};

// The axial force on one body: a connected region (nodes sharing a side) of one material.
struct BodyForce {
    int i = 0, j = 0;  // the node the body was chosen by
    MaterialCode material = MaterialCode::Vacuum;
    int nodes = 0;
    // A node on the last column or the first or last row: the area's edge cuts the body (or
    // runs along it) and the force misses what lies beyond.
    bool touchesEdge = false;
    double forceZ = 0;  // N, > 0 down the picture
};

struct EngineeringFigures {
    CoilEngineeringFigures coil1, coil2;
    // Stored magnetic energy in the area, J. None while a magnet is on the map: a permanent
    // magnet's energy depends on how it was magnetised, not on this field alone.
    std::optional<double> energy;
    std::vector<BodyForce> bodies;  // in the order they were asked for
};

// Why no figures can be read from the model, or nothing when they can: the potential and
// material arrays must exist for GridSize, GridStep be a positive number, the potential
// finite, and the constants of every magnetic material on the map usable. One sentence.
std::optional<std::string> FiguresRefusal(const Model& m);

// Whether the potential holds anything but zeros: a project saved before any calculation
// (or a new one) does not, and its figures would all be zero without meaning anything.
bool HoldsPotential(const SolverArrays& arrays);

// Why node (i, j) does not choose a body (outside the arrays, or Vacuum), or nothing.
std::optional<std::string> BodyRefusal(const Model& m, int i, int j);

// All figures, with the forces on the bodies chosen by the given nodes. The model must pass
// FiguresRefusal; a node that BodyRefusal refuses is left out of the bodies. The coils'
// currents come from the project's Current1/2 and WireDiameter1/2 and the calculation's
// Material, so compute the figures of a field with the values it was calculated with (the
// window: when the result is shown). At a 400 grid this takes a few milliseconds.
EngineeringFigures ComputeEngineeringFigures(
    const Model& m, const std::vector<std::pair<int, int>>& bodyNodes = {});

// The force on every body of the map, each named by its first node (smallest i, then j).
// The forces on all bodies sum to zero up to the calculation's residual and the area's edge.
std::vector<BodyForce> ForcesOnAllBodies(const Model& m);

// Flux through the circle of node (i, j) about the axis, Phi = 2 pi r A(r, z), Wb, counted
// along +Bz. Node (i, j) must lie on the potential's grid.
double FluxThroughNodeCircle(const Model& m, int i, int j);
// The same for any radius r and height z (m) inside the area, from r A interpolated
// bilinearly between the four surrounding nodes; none outside the area.
std::optional<double> FluxThroughCircle(const Model& m, double r, double z);

// The figures as lines of text with units, for the result panel, the clipboard and the printed
// report: one line per coil on the map, the energy, one line per body and a closing line with
// the sign convention. Numbers with three significant digits and an SI prefix.
std::vector<std::string> FiguresTextLines(const EngineeringFigures& f, char decimalSeparator = '.');

// A value with three significant digits and an SI prefix chosen so that 1 <= |mantissa| < 1000
// ("12.3 mH", "-4.56 kN", "0 J"); beyond the prefixes p .. G, exponent form ("1.23e-15 H").
std::string EngineeringText(double value, const std::string& unit, char decimalSeparator = '.');

}  // namespace tesvid
