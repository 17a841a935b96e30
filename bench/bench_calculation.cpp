// Time of a whole calculation (RunCalculation: MainSteps + 4 passes) for three arrangements at
// every grid size, with the counter "node_update": the time per relaxed node.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "model/model_state.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/relax_pass.h"
#include "solver/relax_sweep.h"

namespace {

using tesvid::Grid2D;
using tesvid::MaterialCode;
using tesvid::ModelState;

// Paints a block given in cells of a 50 grid, scaled to the material grid's size.
void Block(Grid2D<MaterialCode>& material, int i0, int i1, int j0, int j1, MaterialCode code) {
    const int s = material.N() / 50;
    for (int i = i0 * s; i <= (i1 + 1) * s - 1; ++i) {
        for (int j = j0 * s; j <= (j1 + 1) * s - 1; ++j) {
            material(i, j) = code;
        }
    }
}

enum class Arrangement { AirCoil, PotCore, RingMagnet };

Grid2D<MaterialCode> Draw(Arrangement arrangement, int n) {
    Grid2D<MaterialCode> m(n);
    switch (arrangement) {
        case Arrangement::AirCoil:
            Block(m, 10, 14, 18, 32, MaterialCode::Coil1);
            break;
        case Arrangement::PotCore:
            // Post through the coil on the axis, end plates and an outer shell around it.
            Block(m, 0, 17, 12, 15, MaterialCode::Iron);
            Block(m, 0, 17, 35, 38, MaterialCode::Iron);
            Block(m, 0, 5, 16, 34, MaterialCode::Iron);
            Block(m, 14, 17, 16, 34, MaterialCode::Iron);
            Block(m, 7, 12, 17, 33, MaterialCode::Coil1);
            break;
        case Arrangement::RingMagnet:
            // Axially magnetised ring between two iron pole pieces.
            Block(m, 6, 14, 22, 27, MaterialCode::MagnetN);
            Block(m, 4, 15, 18, 21, MaterialCode::Iron);
            Block(m, 4, 15, 28, 31, MaterialCode::Iron);
            break;
    }
    return m;
}

ModelState BuildModel(Arrangement arrangement, int n) {
    ModelState m;
    m.GridSize = static_cast<std::int16_t>(n);
    m.AreaSize = 100;
    m.GridStep = 100 * 0.001 / n;
    m.SteelMu = 1000;
    m.SteelMaxB = 1.6;
    m.MagBr = 1.2;
    m.MagHc = 900e3;
    m.MagBHmax = 280e3;
    tesvid::FitMagnetCurve(m);
    m.Rjac0 = 0.995;
    m.Rjac1 = 0.9995;
    m.RjacFin = 0.95;
    m.MainSteps = 10;
    m.DProv1 = 1;
    m.KMu = 0.05;
    // 2e7 A/m2 over the pot core's winding (12 x 34 mm) drives about 8 kA-turns round a closed
    // iron path of about 15 cm: the iron saturates.
    m.CurDens1 = arrangement == Arrangement::PotCore ? 2e7 : 5e6;
    tesvid::BuildMaterialMap(m, Draw(arrangement, n));
    return m;
}

void Calculation(benchmark::State& state, Arrangement arrangement) {
    const int n = static_cast<int>(state.range(0));
    const ModelState built = BuildModel(arrangement, n);
    if (auto refusal = tesvid::CalculationRefusal(built, built.Material)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    tesvid::CalculationObserver quiet;
    ModelState m;
    for (auto _ : state) {
        state.PauseTiming();
        m = built;
        state.ResumeTiming();
        tesvid::RunCalculation(m, quiet);
        benchmark::DoNotOptimize(m.VecPot.Data());
        benchmark::ClobberMemory();
    }
    // Share of the iron whose permeability has fallen below a tenth of SteelMu: shows that
    // the arrangement drives the nonlinear part of the solver.
    double iron = 0;
    double saturated = 0;
    for (std::size_t k = 0; k < m.Material.Size(); ++k) {
        if (m.Material.Vector()[k] == MaterialCode::Iron) {
            iron += 1;
            saturated += m.MuNode.Vector()[k] > 10 / m.SteelMu ? 1 : 0;
        }
    }
    state.counters["saturated_iron"] = iron > 0 ? saturated / iron : 0;
    const double passes = built.MainSteps + 4;
    const double updates =
        passes * tesvid::IterationsPerPass(n) * static_cast<double>(n - 1) * (n - 1);
    state.counters["node_update"] = benchmark::Counter(
        updates, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The pot core with a given build of the sweep (processors without AVX2 run the SSE2 one).
void PotCoreWithBuild(benchmark::State& state, tesvid::relax::SweepBuild build) {
    tesvid::relax::SelectSweepBuild(build);
    if (tesvid::relax::ActiveSweepBuild() != build) {
        state.SkipWithError("this build of the sweep is not available here");
    } else {
        Calculation(state, Arrangement::PotCore);
    }
    tesvid::relax::SelectFastestSweepBuild();
}

void AirCoil(benchmark::State& state) {
    Calculation(state, Arrangement::AirCoil);
}
void PotCore(benchmark::State& state) {
    Calculation(state, Arrangement::PotCore);
}
void RingMagnet(benchmark::State& state) {
    Calculation(state, Arrangement::RingMagnet);
}

BENCHMARK(AirCoil)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(PotCore)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK(RingMagnet)->Arg(50)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PotCoreWithBuild, Sse2, tesvid::relax::SweepBuild::Sse2)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PotCoreWithBuild, Scalar, tesvid::relax::SweepBuild::Scalar)
    ->Arg(400)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
