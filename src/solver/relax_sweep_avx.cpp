// The four-lane AVX build of the sweep. The build compiles this file alone with AVX enabled
// (without FMA, so that no multiply-add is fused); it runs only on a processor that reports
// AVX (relax_sweep_dispatch.cpp).
#include "solver/relax_sweep_kernels.h"

namespace tesvid::relax {

#if defined(__AVX__)
double SweepIterationAvx(const SweepInput& in) {
    return SweepIterationWith<Lane4>(in);
}
bool AvxSweepBuilt() {
    return true;
}
#else
double SweepIterationAvx(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}
bool AvxSweepBuilt() {
    return false;
}
#endif

}  // namespace tesvid::relax
