#pragma once

#include <string>
#include <vector>

#include "model/model.h"
#include "solver/calculation_observer.h"

namespace tesvid::testing {

// The first-start project on an n grid over areaMm millimetres; no arrays yet.
Model MakeModel(int n, double areaMm);

// Paints the nodes i0..i1, j0..j1 (inclusive).
void Paint(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1, MaterialCode code);

// Arrangements laid out at 50 cells and scaled to an n grid: a coil in air; a coil in an iron
// pot core; an axially magnetised ring magnet between pole pieces and an opposite one further out.
Grid2D<MaterialCode> AirCoil(int n);
Grid2D<MaterialCode> PotCore(int n);
Grid2D<MaterialCode> RingMagnets(int n);

// Builds the material map with the given coil 1 density and runs the whole schedule; the
// field is evaluated at the end, as the window does.
void Calculate(Model& m, const Grid2D<MaterialCode>& material, double currentDensity1);

// Records what a calculation reports, one letter per call: b(egin), m(aximum), p(rogress),
// e(rror), y(ield), f(inished pass), r(esult), x (end). The result evaluates the field. Stop
// is asked for from yield number stopAtYield on.
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
        events += 'f';
        steps.push_back(a.LastReluctivityStep);
    }
    void ShowResult() override;

    int stopAtYield = 0;
    int yields = 0;
    double progressMaximum = 0;
    std::string events;
    std::vector<double> progress, errors, steps;

  private:
    Model& m_;
};

}  // namespace tesvid::testing
