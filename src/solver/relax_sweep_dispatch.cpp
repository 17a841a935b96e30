#include "solver/relax_sweep.h"

namespace tesvid::relax {

namespace {

bool ProcessorHasAvx2() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

SweepBuild FastestBuild() {
    if (AvxSweepBuilt() && ProcessorHasAvx2()) {
        return SweepBuild::Avx;
    }
    if (Sse2SweepBuilt()) {
        return SweepBuild::Sse2;
    }
    return SweepBuild::Scalar;
}

SweepBuild& ChosenBuild() {
    static SweepBuild build = FastestBuild();
    return build;
}

}  // namespace

SweepBuild ActiveSweepBuild() {
    return ChosenBuild();
}

void SelectSweepBuild(SweepBuild build) {
    const bool available = build == SweepBuild::Scalar ||
                           (build == SweepBuild::Sse2 && Sse2SweepBuilt()) ||
                           (build == SweepBuild::Avx && AvxSweepBuilt() && ProcessorHasAvx2());
    ChosenBuild() = available ? build : FastestBuild();
}

void SelectFastestSweepBuild() {
    ChosenBuild() = FastestBuild();
}

double SweepIteration(const SweepInput& in) {
    switch (ChosenBuild()) {
        case SweepBuild::Avx:
            return SweepIterationAvx(in);
        case SweepBuild::Sse2:
            return SweepIterationSse2(in);
        case SweepBuild::Scalar:
            break;
    }
    return SweepIterationScalar(in);
}

double SweepShare(const SweepInput& in, int colour, int i0, int i1) {
    switch (ChosenBuild()) {
        case SweepBuild::Avx:
            return SweepShareAvx(in, colour, i0, i1);
        case SweepBuild::Sse2:
            return SweepShareSse2(in, colour, i0, i1);
        case SweepBuild::Scalar:
            break;
    }
    return SweepShareScalar(in, colour, i0, i1);
}

}  // namespace tesvid::relax
