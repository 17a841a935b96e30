// Speed of the result views at the largest grid: the colour map with its outlines and scale,
// one probe move (read-out, cross-hair, both graphs), the force lines of a pot-core
// electromagnet at the first-start line step, and the potential view.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "arrangements.h"
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

// The pot-core electromagnet of the solver benchmark, calculated.
ModelState SolvedPotCore(int n) {
    ModelState m = bench::BuildModel(bench::Arrangement::PotCore, n);
    m.LineStep = 10;
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
