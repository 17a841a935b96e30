// Time of a whole calculation for three arrangements at every grid size: the fixed schedule
// (MainSteps + 4 passes, counter "node_update": the time per relaxed node) and the calculation
// until converged at the default tolerance (counters "passes" and "cycles": Newton steps and
// multigrid cycles on the calculation's grid), each on one and two threads. Wall-clock time,
// since the threads share the work. At the end the ratios that matter are printed: converged
// against fixed, and the fixed schedule's speed-up on two threads.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

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
    tesvid::CalculationSettings settings;
    settings.schedule =
        state.range(1) != 0 ? tesvid::ScheduleKind::Converge : tesvid::ScheduleKind::Fixed;
    settings.threads = static_cast<int>(state.range(2));
    const Model built = BuildModel(arrangement, n);
    if (auto refusal = tesvid::CalculationRefusal(built, built.arrays.Material)) {
        state.SkipWithError(refusal->c_str());
        return;
    }
    tesvid::CalculationObserver quiet;
    Model m;
    tesvid::CalculationOutcome outcome;
    for (auto _ : state) {
        state.PauseTiming();
        m = built;
        state.ResumeTiming();
        outcome = tesvid::Calculate(m.arrays, m.project, settings, quiet);
        benchmark::DoNotOptimize(m.arrays.VecPot.Data());
        benchmark::ClobberMemory();
    }
    if (settings.schedule == tesvid::ScheduleKind::Converge) {
        state.counters["passes"] = outcome.passes;
        if (outcome.ending != tesvid::CalculationEnding::Converged) {
            state.SkipWithError(tesvid::OutcomeSentence(outcome).c_str());
        }
        return;
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

const std::vector<std::vector<std::int64_t>> kCases = {{50, 100, 200, 400}, {0, 1}, {1, 2}};

BENCHMARK_CAPTURE(Calculation, AirCoil, Arrangement::AirCoil)
    ->ArgsProduct(kCases)
    ->ArgNames({"grid", "converge", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Calculation, PotCore, Arrangement::PotCore)
    ->ArgsProduct(kCases)
    ->ArgNames({"grid", "converge", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Calculation, RingMagnet, Arrangement::RingMagnet)
    ->ArgsProduct(kCases)
    ->ArgNames({"grid", "converge", "threads"})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PotCoreWithBuild, Sse2, tesvid::relax::SweepBuild::Sse2)
    ->Args({400, 0, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PotCoreWithBuild, Scalar, tesvid::relax::SweepBuild::Scalar)
    ->Args({400, 0, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The console report, remembering every run's time for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\nconverged / fixed (one thread), fixed one thread / two threads:\n");
        for (const char* shape : {"AirCoil", "PotCore", "RingMagnet"}) {
            for (const int grid : {50, 100, 200, 400}) {
                const auto time = [&](int converge, int threads) {
                    const auto found = times_.find(
                        std::string("Calculation/") + shape + "/grid:" + std::to_string(grid) +
                        "/converge:" + std::to_string(converge) +
                        "/threads:" + std::to_string(threads) + "/real_time");
                    return found == times_.end() ? 0.0 : found->second;
                };
                if (time(0, 1) > 0 && time(1, 1) > 0) {
                    std::printf("  %-10s %3d   converged/fixed %5.2f", shape, grid,
                                time(1, 1) / time(0, 1));
                    if (time(0, 2) > 0) {
                        std::printf("   fixed speed-up on 2 threads %4.2f",
                                    time(0, 1) / time(0, 2));
                    }
                    if (time(1, 2) > 0) {
                        std::printf("   converged speed-up %4.2f", time(1, 1) / time(1, 2));
                    }
                    std::printf("\n");
                }
            }
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
