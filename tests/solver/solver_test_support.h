#pragma once

#include <string>
#include <vector>

#include "model/model.h"
#include "solver/calculation_observer.h"

namespace tesvid::testing {

// A model with GridSize n over areaMm millimetres and the usual option values (the ones a new
// installation starts with): iron Mu 1000 and Br 1.6 T, a 1 T / 100 kA/m / 30 kJ/m3 magnet
// with its fitted curve, Jacoby radii 0.995 / 0.9995 / 0.95, 10 main passes, ReluctivityRelaxation 0.05,
// 1 mm wires. No arrays yet.
Model MakeModel(int n, double areaMm);

// Paints the nodes i0..i1, j0..j1 (inclusive) of a material grid.
void Paint(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1, MaterialCode code);

// Arrangements drawn for an n grid, laid out at 50 cells and scaled with the grid.
// A coil in air.
Grid2D<MaterialCode> AirCoil(int n);
// A coil inside an iron pot core: a central post on the axis, end plates and an outer shell.
Grid2D<MaterialCode> PotCore(int n);
// An axially magnetised ring magnet (Magnet N) between iron pole pieces, and a second ring of
// the opposite direction (Magnet S) further out.
Grid2D<MaterialCode> RingMagnets(int n);

// Records every call of a calculation, and can press Stop during a chosen yield.
class RecordingObserver : public CalculationObserver {
  public:
    explicit RecordingObserver(Model& model) : model_(model) {}

    void BeginCalculation() override { events.push_back("begin"); }
    void EndCalculation() override { events.push_back("end"); }
    void SetProgressMaximum(double maximum) override {
        progressMaximum = maximum;
        events.push_back("progress-max");
    }
    double ProgressMaximum() const override { return progressMaximum; }
    void SetProgressValue(double value) override;
    double ErrorMaximum() const override { return 8; }
    void SetErrorValue(double value) override {
        errorValues.push_back(value);
        events.push_back("error");
    }
    void Yield() override;
    void ShowIntermediate() override { events.push_back("intermediate"); }
    void ShowResult() override;

    // Yield number (counting from 1) at which Stop is pressed; 0 for never.
    int stopAtYield = 0;
    // Whether ShowResult evaluates the field, as the result command does.
    bool evaluateOnResult = true;

    // The settings in force when a pass showed its number on the progress bar.
    struct PassRecord {
        int passNo;
        double omega;
        double kMuCur;
        int yieldsBefore;  // yields so far, the driver's first one included
    };
    std::vector<PassRecord> passes;

    int yields = 0;
    double progressMaximum = 8;
    std::vector<double> progressValues;
    std::vector<double> errorValues;
    std::vector<std::string> events;

  private:
    Model& model_;
};

}  // namespace tesvid::testing
