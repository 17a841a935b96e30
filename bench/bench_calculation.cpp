// Time of a whole calculation (RunCalculation: MainSteps + 4 passes) for three arrangements at
// every grid size, with the counter "node_update": the time per relaxed node.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "arrangements.h"
#include "model/model.h"
#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver/relax_pass.h"
#include "solver/relax_sweep.h"

namespace {

using bench::Arrangement;
using bench::BuildModel;
using tesvid::MaterialCode;
using tesvid::Model;

void Calculation(benchmark::State& state, Arrangement arrangement) {
    const int n = static_cast<int>(state.range(0));
    const Model built = BuildModel(arrangement, n);
    if (auto refusal = tesvid::CalculationRefusal(built, built.arrays.Material)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    tesvid::CalculationObserver quiet;
    Model m;
    for (auto _ : state) {
        state.PauseTiming();
        m = built;
        state.ResumeTiming();
        tesvid::RunCalculation(m.arrays, m.project, quiet);
        benchmark::DoNotOptimize(m.arrays.VecPot.Data());
        benchmark::ClobberMemory();
    }
    // Share of the iron whose permeability has fallen below a tenth of SteelMu: shows that
    // the arrangement drives the nonlinear part of the solver.
    double iron = 0;
    double saturated = 0;
    for (std::size_t k = 0; k < m.arrays.Material.Size(); ++k) {
        if (m.arrays.Material.Vector()[k] == MaterialCode::Iron) {
            iron += 1;
            saturated += m.arrays.Reluctivity.Vector()[k] > 10 / m.project.SteelMu ? 1 : 0;
        }
    }
    state.counters["saturated_iron"] = iron > 0 ? saturated / iron : 0;
    const double passes = built.project.MainSteps + 4;
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
