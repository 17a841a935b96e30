// Speed of the result views at the largest grid: the colour map with its outlines and scale,
// one probe move (read-out, cross-hair, both graphs), the force lines of a pot-core
// electromagnet at the first-start line step, and the potential view.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "model/model_state.h"
#include "model/raster_surface.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "view/distribution_graph.h"
#include "view/field_color_map.h"
#include "view/field_probe.h"
#include "view/force_lines.h"
#include "view/potential_view.h"

namespace {

using namespace tesvid;

// Paints a block given in cells of a 50 grid, scaled to the material grid's size.
void Block(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1, MaterialCode code) {
    const int s = material.N() / 50;
    for (int i = i0 * s; i <= (i1 + 1) * s - 1; ++i) {
        for (int j = j0 * s; j <= (j1 + 1) * s - 1; ++j) {
            material(i, j) = code;
        }
    }
}

// A coil in an iron pot: post on the axis, two end plates and an outer shell, calculated.
ModelState SolvedPotCore(int n) {
    ModelState m;
    m.GridSize = static_cast<std::int16_t>(n);
    m.AreaSize = 100;
    m.GridStep = 100 * 0.001 / n;
    m.SteelMu = 1000;
    m.SteelMaxB = 1.6;
    m.Rjac0 = 0.995;
    m.Rjac1 = 0.9995;
    m.RjacFin = 0.95;
    m.MainSteps = 10;
    m.KMu = 0.05;
    m.DProv1 = 1;
    m.CurDens1 = 2e8;
    m.LineStep = 10;
    Grid2D<MaterialCode> material(n);
    Block(material, 0, 17, 12, 15, MaterialCode::Iron);
    Block(material, 0, 17, 35, 38, MaterialCode::Iron);
    Block(material, 0, 5, 16, 34, MaterialCode::Iron);
    Block(material, 14, 17, 16, 34, MaterialCode::Iron);
    Block(material, 7, 12, 17, 33, MaterialCode::Coil1);
    BuildMaterialMap(m, material);
    CalculationObserver observer;
    RunCalculation(m, observer);
    EvaluateField(m);
    return m;
}

const ModelState& PotCore(int n) {
    static ModelState models[4];
    const int k = n == 50 ? 0 : n == 100 ? 1 : n == 200 ? 2 : 3;
    if (models[k].GridSize == 0) {
        models[k] = SolvedPotCore(n);
    }
    return models[k];
}

void ColorMapWithOutlines(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ModelState m = PotCore(n);
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    for (auto _ : state) {
        VisualizeB(m, picture1, picture3);
        benchmark::DoNotOptimize(picture1.Pixels());
    }
}
BENCHMARK(ColorMapWithOutlines)->Arg(50)->Arg(400)->Unit(benchmark::kMillisecond);

void PotentialView(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const ModelState& m = PotCore(n);
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    for (auto _ : state) {
        VisualizeA(m, picture1);
        benchmark::DoNotOptimize(picture1.Pixels());
    }
}
BENCHMARK(PotentialView)->Arg(400)->Unit(benchmark::kMillisecond);

class NoGraphs : public ProbeTarget {
  public:
    NoGraphs(const ModelState& m) : m_(m), form2_(250, 250), form3_(250, 250) {}
    void SetFieldTexts(const ProbeFieldTexts& t) override { benchmark::DoNotOptimize(t.b.data()); }
    void DrawGraphs(double x, double y) override {
        DrawGraf(m_, form2_, GraphAxis::R, x, y);
        DrawGraf(m_, form3_, GraphAxis::Z, x, y);
    }
    void ShowGraphWindows() override {}

  private:
    const ModelState& m_;
    RasterSurface form2_;
    RasterSurface form3_;
};

void ProbeMove(benchmark::State& state) {
    const int n = 400;
    ModelState m = PotCore(n);
    m.ShowCrossSections = true;
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    VisualizeB(m, picture1, picture3);
    NoGraphs target(m);
    PointerState position{0, 0, -1, -1};
    int step = 0;
    for (auto _ : state) {
        step = (step + 37) % 400;
        const float x = static_cast<float>(step);
        const float y = static_cast<float>((step * 7) % 400);
        benchmark::DoNotOptimize(ProbeCoordinates(m, ProbeNode(x), ProbeNode(y)));
        ProbeMouseMove(m, picture1, position, x, y, target);
    }
}
BENCHMARK(ProbeMove)->Unit(benchmark::kMillisecond);

void ForceLinesPotCore(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    ModelState m = PotCore(n);
    m.LineStep = static_cast<float>(state.range(1));
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    VisualizeB(m, picture1, picture3);
    ForceLineObserver observer;
    for (auto _ : state) {
        VisualizeForceLines(m, picture1, true, observer);
        benchmark::DoNotOptimize(picture1.Pixels());
    }
}
// Grid size and line step (10 is the first-start value; 2 draws lines five times as dense).
BENCHMARK(ForceLinesPotCore)
    ->Args({50, 10})
    ->Args({100, 10})
    ->Args({200, 10})
    ->Args({400, 10})
    ->Args({400, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
