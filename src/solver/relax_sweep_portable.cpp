// The sweep for any processor, and on x86-64 the two-lane SSE2 build (SSE2 is part of every
// x86-64 processor, so this file needs no special instruction-set option).
#include "solver/relax_sweep_kernels.h"

namespace tesvid::relax {

double SweepIterationScalar(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}
double SweepShareScalar(const SweepInput& in, int colour, int i0, int i1) {
    return SweepShareWith<Lane1>(in, colour, i0, i1);
}

#if defined(__SSE2__)
double SweepIterationSse2(const SweepInput& in) {
    return SweepIterationWith<Lane2>(in);
}
double SweepShareSse2(const SweepInput& in, int colour, int i0, int i1) {
    return SweepShareWith<Lane2>(in, colour, i0, i1);
}
bool Sse2SweepBuilt() {
    return true;
}
#else
double SweepIterationSse2(const SweepInput& in) {
    return SweepIterationWith<Lane1>(in);
}
double SweepShareSse2(const SweepInput& in, int colour, int i0, int i1) {
    return SweepShareWith<Lane1>(in, colour, i0, i1);
}
bool Sse2SweepBuilt() {
    return false;
}
#endif

}  // namespace tesvid::relax
