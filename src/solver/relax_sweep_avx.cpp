// The four-lane AVX2 build of the sweep. The build compiles this file alone with AVX2 enabled
// (without FMA, so that no multiply-add is fused); it runs only on a processor that reports
// AVX2 (relax_sweep_dispatch.cpp).
#include "solver/relax_sweep_kernels.h"

namespace tesvid::relax {

#if defined(__AVX2__)
double SweepIterationAvx(const SweepInput& in) {
    return SweepIterationWith<Lane4>(in);
}
double SweepShareAvx(const SweepInput& in, int colour, int i0, int i1) {
    return SweepShareWith<Lane4>(in, colour, i0, i1);
}
bool AvxSweepBuilt() {
    return true;
}
#else
double SweepIterationAvx(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}
double SweepShareAvx(const SweepInput& in, int colour, int i0, int i1) {
    return SweepShareWith<Lane1>(in, colour, i0, i1);
}
bool AvxSweepBuilt() {
    return false;
}
#endif

}  // namespace tesvid::relax
