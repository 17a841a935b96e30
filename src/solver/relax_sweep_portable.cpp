// The sweep for any processor, and on x86-64 the two-lane SSE2 build (SSE2 is part of every
// x86-64 processor, so this file needs no special instruction-set option).
#include "solver/relax_sweep_kernels.h"

namespace tesvid::relax {

double SweepIterationScalar(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}

#if defined(__SSE2__)
double SweepIterationSse2(const SweepInput& in) {
    return SweepIterationWith<Lane2>(in);
}
bool Sse2SweepBuilt() {
    return true;
}
#else
double SweepIterationSse2(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}
bool Sse2SweepBuilt() {
    return false;
}
#endif

}  // namespace tesvid::relax
