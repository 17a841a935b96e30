#pragma once

#include <array>
#include <string>
#include <vector>

#include "solver/calculation.h"
#include "solver/drawn_model.h"
#include "solver/material_map.h"

namespace tesvid::testing {

// The first-start project on an n grid over areaMm millimetres; no arrays yet.
inline Model MakeModel(int n, double areaMm) {
    Model m;
    m.project = FirstStartProject();
    m.project.GridSize = static_cast<std::int16_t>(n);
    m.project.AreaSize = static_cast<float>(areaMm);
    m.project.GridStep = areaMm * 0.001 / n;
    return m;
}

// Paints the nodes i0..i1, j0..j1 (inclusive), given in cells of a 50 grid for scale > 0.
inline void Paint(Grid2D<MaterialCode>& g, int i0, int i1, int j0, int j1, MaterialCode code,
                  int scale = 1) {
    for (int i = i0 * scale; i <= (i1 + 1) * scale - 1; ++i) {
        for (int j = j0 * scale; j <= (j1 + 1) * scale - 1; ++j) {
            g(i, j) = code;
        }
    }
}

// Arrangements laid out at 50 cells and scaled to an n grid: a coil in air; a coil in an iron
// pot core (plates, central post, shell); an axially magnetised ring magnet between pole
// pieces and an opposite one further out.
inline Grid2D<MaterialCode> AirCoil(int n) {
    Grid2D<MaterialCode> g(n);
    Paint(g, 10, 12, 20, 30, MaterialCode::Coil1, n / 50);
    return g;
}
inline Grid2D<MaterialCode> PotCore(int n) {
    Grid2D<MaterialCode> g(n);
    for (const auto& [i0, i1, j0, j1] :
         {std::array{0, 17, 12, 15}, {0, 17, 35, 38}, {0, 5, 16, 34}, {14, 17, 16, 34}}) {
        Paint(g, i0, i1, j0, j1, MaterialCode::Iron, n / 50);
    }
    Paint(g, 7, 12, 17, 33, MaterialCode::Coil1, n / 50);
    return g;
}
inline Grid2D<MaterialCode> RingMagnets(int n) {
    Grid2D<MaterialCode> g(n);
    for (const auto& [i0, i1, j0, j1] :
         {std::array{5, 13, 18, 21}, {5, 13, 28, 31}, {19, 25, 19, 21}}) {
        Paint(g, i0, i1, j0, j1, MaterialCode::Iron, n / 50);
    }
    Paint(g, 6, 12, 22, 27, MaterialCode::MagnetN, n / 50);
    Paint(g, 20, 24, 22, 27, MaterialCode::MagnetS, n / 50);
    return g;
}

// Records what a calculation reports, one letter per call: b(egin), m(aximum), p(rogress),
// e(rror), y(ield), f(inished pass), r(esult, evaluating the field as the window does),
// x (end). Stop is asked for from yield number stopAtYield on.
class RecordingObserver : public CalculationObserver {
  public:
    explicit RecordingObserver(Model& m) : m_(m) {}
    void BeginCalculation() override { events += 'b'; }
    void EndCalculation() override { events += 'x'; }
    void SetProgressMaximum(double v) override { events += 'm', progressMaximum = v; }
    void SetProgressValue(double v) override { events += 'p', progress.push_back(v); }
    void SetErrorValue(double v) override { events += 'e', errors.push_back(v); }
    void Yield() override { events += 'y', ++yields; }
    bool StopRequested() const override { return stopAtYield > 0 && yields >= stopAtYield; }
    void PassFinished(const SolverArrays& a) override {
        events += 'f', steps.push_back(a.LastReluctivityStep);
    }
    void ShowResult() override { events += 'r', EvaluateField(m_); }

    int stopAtYield = 0, yields = 0;
    double progressMaximum = 0;
    std::string events;
    std::vector<double> progress, errors, steps;

  private:
    Model& m_;
};

// Builds the material map with the given coil 1 density and runs the whole schedule; returns
// the last error indicator.
inline double Calculate(Model& m, const Grid2D<MaterialCode>& material, double currentDensity1) {
    m.project.CurrentDensity1 = currentDensity1;
    BuildMaterialMap(m, material);
    RecordingObserver observer(m);
    RunCalculation(m.arrays, m.project, observer);
    return observer.errors.back();
}

}  // namespace tesvid::testing
