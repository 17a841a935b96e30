// Time of all engineering figures (coil flux linkages, inductances, forces, the stored
// energy and the force on every drawn body) from a calculated potential, for three
// arrangements at every grid size. Target: under 20 ms at a 400 grid.
#include <benchmark/benchmark.h>

#include <utility>
#include <vector>

#include "arrangements.h"
#include "model/model.h"
#include "solver/calculation.h"
#include "solver/engineering_figures.h"

namespace {

using bench::Arrangement;
using tesvid::Model;

void Figures(benchmark::State& state, Arrangement arrangement) {
    const int n = static_cast<int>(state.range(0));
    Model m = bench::BuildModel(arrangement, n);
    // The figures take the coil's current from the typed current and the wire.
    const double wire = m.project.WireDiameter1 / 1000;
    m.project.Current1 = m.project.CurrentDensity1 * wire * wire;
    m.project.MainSteps = 0;  // any potential will do for the timing
    tesvid::CalculationObserver quiet;
    tesvid::RunCalculation(m.arrays, m.project, quiet);
    if (auto refusal = tesvid::FiguresRefusal(m)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    // One node of every body.
    std::vector<std::pair<int, int>> bodies;
    for (const tesvid::BodyForce& b : tesvid::ForcesOnAllBodies(m)) {
        bodies.emplace_back(b.i, b.j);
    }
    for (auto _ : state) {
        tesvid::EngineeringFigures f = tesvid::ComputeEngineeringFigures(m, bodies);
        benchmark::DoNotOptimize(f);
    }
    state.counters["bodies"] = static_cast<double>(bodies.size());
}

}  // namespace

BENCHMARK_CAPTURE(Figures, AirCoil, Arrangement::AirCoil)->ArgsProduct({{100, 200, 400}});
BENCHMARK_CAPTURE(Figures, PotCore, Arrangement::PotCore)->ArgsProduct({{100, 200, 400}});
BENCHMARK_CAPTURE(Figures, RingMagnet, Arrangement::RingMagnet)->ArgsProduct({{100, 200, 400}});

BENCHMARK_MAIN();
