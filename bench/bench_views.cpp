// Speed of the result views at the largest grid: the colour map with its outlines and scale,
// one probe move (read-out, cross-hair, both graphs), the force lines of a pot-core
// electromagnet at the first-start line step, and the potential view.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "arrangements.h"
#include "model/model.h"
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

// The pot-core electromagnet of the solver benchmark, calculated.
Model SolvedPotCore(int n) {
    Model m = bench::BuildModel(bench::Arrangement::PotCore, n);
    m.project.LineStep = 10;
    CalculationObserver observer;
    RunCalculation(m.arrays, m.project, observer);
    EvaluateField(m);
    return m;
}

const Model& PotCore(int n) {
    static Model models[4];
    const int k = n == 50 ? 0 : n == 100 ? 1 : n == 200 ? 2 : 3;
    if (models[k].project.GridSize == 0) {
        models[k] = SolvedPotCore(n);
    }
    return models[k];
}

void ColorMapWithOutlines(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Model m = PotCore(n);
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    ForceLineGrids grids;
    for (auto _ : state) {
        DrawFieldColorMap(m, grids, picture1, picture3);
        benchmark::DoNotOptimize(picture1.Pixels());
    }
}
BENCHMARK(ColorMapWithOutlines)->Arg(50)->Arg(400)->Unit(benchmark::kMillisecond);

void PotentialView(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Model& m = PotCore(n);
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    for (auto _ : state) {
        DrawPotentialView(m, picture1);
        benchmark::DoNotOptimize(picture1.Pixels());
    }
}
BENCHMARK(PotentialView)->Arg(400)->Unit(benchmark::kMillisecond);

class NoGraphs : public ProbeTarget {
  public:
    NoGraphs(const Model& m) : m_(m), form2_(250, 250), form3_(250, 250) {}
    void SetFieldTexts(const ProbeFieldTexts& t) override { benchmark::DoNotOptimize(t.b.data()); }
    void DrawGraphs(double x, double y) override {
        DrawDistributionGraph(m_, form2_, GraphAxis::R, x, y);
        DrawDistributionGraph(m_, form3_, GraphAxis::Z, x, y);
    }
    void ShowGraphWindows() override {}

  private:
    const Model& m_;
    RasterSurface form2_;
    RasterSurface form3_;
};

void ProbeMove(benchmark::State& state) {
    const int n = 400;
    Model m = PotCore(n);
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    ForceLineGrids grids;
    DrawFieldColorMap(m, grids, picture1, picture3);
    NoGraphs target(m);
    PointerState position{0, 0, -1, -1, false};
    int step = 0;
    for (auto _ : state) {
        step = (step + 37) % 400;
        const float x = static_cast<float>(step);
        const float y = static_cast<float>((step * 7) % 400);
        benchmark::DoNotOptimize(ProbeCoordinates(m, ProbeNode(x), ProbeNode(y)));
        ProbeMouseMove(m, true, picture1, position, x, y, target);
    }
}
BENCHMARK(ProbeMove)->Unit(benchmark::kMillisecond);

void ForceLinesPotCore(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    Model m = PotCore(n);
    m.project.LineStep = static_cast<float>(state.range(1));
    RasterSurface picture1(400, 400);
    picture1.SetScale(n, n);
    RasterSurface picture3(57, 400);
    ForceLineGrids grids;
    DrawFieldColorMap(m, grids, picture1, picture3);
    ForceLineObserver observer;
    for (auto _ : state) {
        DrawForceLines(m, grids, picture1, true, observer);
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
