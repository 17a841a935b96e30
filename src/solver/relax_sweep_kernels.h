#pragma once

// The node updates of one red-black iteration, written once over a "lane" type: a scalar
// double, an SSE2 pair or an AVX2 quadruple. Include this only from the relax_sweep_*.cpp
// files: everything here has internal linkage, so each of those files (compiled for its own
// instruction set) gets its own copy and no copy compiled for AVX can leak into the others.
//
// Nodes of one colour in a column are every second element of that column. A group of W
// nodes j, j+2, ..., j+2W-2 is read as two W-wide loads of the 2W elements from j; the "Lo"
// interleave of the two loads holds the nodes, the "Hi" interleave their neighbours j+1, ...
// (for AVX2 in the lane order 0, 4, 2, 6, the same for every array, so every lane is one node).
// Storing the Lo and Hi interleaves of (new values, neighbours) writes the group back with the
// neighbours unchanged. Within one half-sweep no node reads a value that another node of the
// same colour writes, so the order in which the nodes of a half-sweep are visited does not
// change any result.

#include "solver/relax_sweep.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__AVX2__)
#include <immintrin.h>
#endif

namespace tesvid::relax {
namespace {

struct Lane1 {
    using V = double;
    static constexpr int kWidth = 1;
    static V Load(const double* p) { return *p; }
    static void Store(double* p, V v) { *p = v; }
    static V Set(double x) { return x; }
    static V Lo(V a, V /*b*/) { return a; }
    static V Hi(V /*a*/, V b) { return b; }
    static V Sqrt(V a) { return __builtin_sqrt(a); }
    static V Abs(V a) { return __builtin_fabs(a); }
    // a < b ? a : b and a > b ? a : b, lane by lane (the operand order matters for NaN).
    static V Min(V a, V b) { return a < b ? a : b; }
    static V Max(V a, V b) { return a > b ? a : b; }
    static double Sum(V a) { return a; }
    static V Carry(V next) { return next; }
    static V Down(V /*carry*/, V previousCarry) { return previousCarry; }
};

#if defined(__SSE2__)
struct Lane2 {
    using V = __m128d;
    static constexpr int kWidth = 2;
    static V Load(const double* p) { return _mm_loadu_pd(p); }
    static void Store(double* p, V v) { _mm_storeu_pd(p, v); }
    static V Set(double x) { return _mm_set1_pd(x); }
    static V Lo(V a, V b) { return _mm_unpacklo_pd(a, b); }
    static V Hi(V a, V b) { return _mm_unpackhi_pd(a, b); }
    static V Sqrt(V a) { return _mm_sqrt_pd(a); }
    static V Abs(V a) { return _mm_andnot_pd(_mm_set1_pd(-0.0), a); }
    static V Min(V a, V b) { return _mm_min_pd(a, b); }
    static V Max(V a, V b) { return _mm_max_pd(a, b); }
    static double Sum(V a) { return _mm_cvtsd_f64(a) + _mm_cvtsd_f64(_mm_unpackhi_pd(a, a)); }
    // next = (j+1, j+3); the lower neighbours (j-1, j+1) are the previous group's last and
    // this group's first.
    static V Carry(V next) { return next; }
    static V Down(V carry, V previousCarry) { return _mm_shuffle_pd(previousCarry, carry, 1); }
};
#endif

#if defined(__AVX2__)
struct Lane4 {
    using V = __m256d;
    static constexpr int kWidth = 4;
    static V Load(const double* p) { return _mm256_loadu_pd(p); }
    static void Store(double* p, V v) { _mm256_storeu_pd(p, v); }
    static V Set(double x) { return _mm256_set1_pd(x); }
    static V Lo(V a, V b) { return _mm256_unpacklo_pd(a, b); }
    static V Hi(V a, V b) { return _mm256_unpackhi_pd(a, b); }
    static V Sqrt(V a) { return _mm256_sqrt_pd(a); }
    static V Abs(V a) { return _mm256_andnot_pd(_mm256_set1_pd(-0.0), a); }
    static V Min(V a, V b) { return _mm256_min_pd(a, b); }
    static V Max(V a, V b) { return _mm256_max_pd(a, b); }
    static double Sum(V a) {
        const __m128d low = _mm256_castpd256_pd128(a);
        const __m128d high = _mm256_extractf128_pd(a, 1);
        return (_mm_cvtsd_f64(low) + _mm_cvtsd_f64(_mm_unpackhi_pd(low, low))) +
               (_mm_cvtsd_f64(high) + _mm_cvtsd_f64(_mm_unpackhi_pd(high, high)));
    }
    // next holds j+1, j+5, j+3, j+7; the lower neighbours j-1, j+3, j+1, j+5 are the
    // previous group's j-1 (its lane 3) and this group's lanes 2, 0, 1. Carry brings lane 3
    // to lane 0 and the others into place; Down takes lane 0 from the previous carry.
    static V Carry(V next) { return _mm256_permute4x64_pd(next, 0x4B); }
    static V Down(V carry, V previousCarry) { return _mm256_blend_pd(carry, previousCarry, 1); }
};
#endif

// Column i and its neighbours, with the column's stencil coefficients.
struct Column {
    double* a;             // A(i, 0)
    const double* aLeft;   // A(i-1, 0)
    const double* aRight;  // A(i+1, 0)
    double* nu;            // nu(i, 0)
    double* nuAxis;        // nu(0, 0) when i = 1, else null
    const double* nuLeft;  // nu(i-1, 0)
    const double* src;     // (S(i, j-1) + S(i, j)) / 2 at j = 0
    double radius;         // i
    double cp, cm, diag;   // uniform stencil: CoefRPlus, CoefRMinus, CoefDiag of the column
    double cpW;            // (i+1)/(i+0.5)
    double cmW;            // (i-1)/(i-0.5)
    double cSelf;          // 1 + i/(i+0.5): weight of nu(i, j) in the diagonal
    double cLeft;          // i/(i-0.5): weight of nu(i-1, j) in the diagonal
};

// Keeps B above zero where the potential is flat, so that x = b / B stays finite (T).
constexpr double kInductionFloor = 1e-10;
// The bounds of the ratio nuT / nu that one reluctivity update takes.
constexpr double kFastestRatio = 1.5;
constexpr double kSlowestRatio = 0.7;

struct PassConstants {
    double omega;
    double gridStep;
    double kMu;
};

// The 2W elements from p, split into the W nodes and their W upper neighbours.
template <class L>
struct Group {
    typename L::V nodes;
    typename L::V next;
};
template <class L>
inline Group<L> LoadGroup(const double* p) {
    const typename L::V lo = L::Load(p);
    const typename L::V hi = L::Load(p + L::kWidth);
    return {L::Lo(lo, hi), L::Hi(lo, hi)};
}
template <class L>
inline typename L::V LoadNodes(const double* p) {
    return L::Lo(L::Load(p), L::Load(p + L::kWidth));
}
template <class L>
inline void StoreGroup(double* p, typename L::V nodes, typename L::V next) {
    L::Store(p, L::Lo(nodes, next));
    L::Store(p + L::kWidth, L::Hi(nodes, next));
}

// Uniform nodes j, j+2, ...: as many whole groups of W as `count` holds. Returns the number
// of nodes relaxed.
template <class L>
int RelaxUniform(const Column& c, const PassConstants& k, int j, int count, typename L::V& errSum) {
    using V = typename L::V;
    constexpr int w = L::kWidth;
    const V cp = L::Set(c.cp);
    const V cm = L::Set(c.cm);
    const V diag = L::Set(c.diag);
    const V omega = L::Set(k.omega);
    // The lower neighbours come from the previous group's upper ones: reading them back
    // from memory would overlap the group just stored and wait for the store.
    V carry = L::Set(c.a[j - 1]);
    int done = 0;
    for (; done + w <= count; done += w, j += 2 * w) {
        double* p = c.a + j;
        const Group<L> a = LoadGroup<L>(p);
        const V next = L::Carry(a.next);
        const V down = L::Down(next, carry);
        carry = next;
        const V left = LoadNodes<L>(c.aLeft + j);
        const V right = LoadNodes<L>(c.aRight + j);
        const V src = LoadNodes<L>(c.src + j);
        const V r = ((((cp * right + cm * left) + a.next) + down) - diag * a.nodes) - src;
        errSum = errSum + L::Abs(r);
        StoreGroup<L>(p, a.nodes + (omega * r) / diag, a.next);
    }
    return done;
}

// The reluctivity-weighted residual and diagonal of a group, and its potential update.
template <class L>
struct WeightedStep {
    typename L::V aNew;    // updated A of the nodes
    typename L::V aNext;   // A(i, j+1)
    typename L::V aRight;  // A(i+1, j)
    typename L::V nu;      // nu(i, j)
    typename L::V nuNext;  // nu(i, j+1), to store the group back
};

// The lower neighbours of the previous group, of A and of nu (see RelaxUniform).
template <class L>
struct Carries {
    typename L::V a;
    typename L::V nu;
};
template <class L>
inline Carries<L> StartCarries(const Column& c, int j) {
    return {L::Set(c.a[j - 1]), L::Set(c.nu[j - 1])};
}

template <class L>
inline WeightedStep<L> WeightedUpdate(const Column& c, const PassConstants& k, int j,
                                      Carries<L>& carries, typename L::V& errSum) {
    using V = typename L::V;
    double* p = c.a + j;
    const Group<L> a = LoadGroup<L>(p);
    const V aCarry = L::Carry(a.next);
    const V aDown = L::Down(aCarry, carries.a);
    carries.a = aCarry;
    const V aLeft = LoadNodes<L>(c.aLeft + j);
    const V aRight = LoadNodes<L>(c.aRight + j);
    const V src = LoadNodes<L>(c.src + j);
    const Group<L> nu = LoadGroup<L>(c.nu + j);
    const V nuCarry = L::Carry(nu.next);
    const V nuDown = L::Down(nuCarry, carries.nu);
    carries.nu = nuCarry;
    const V nuLeft = LoadNodes<L>(c.nuLeft + j);
    const V d = (nu.nodes * L::Set(c.cSelf) + nuLeft * L::Set(c.cLeft)) + nuDown;
    const V r =
        (((nu.nodes * (L::Set(c.cpW) * aRight + a.next) + (nuLeft * L::Set(c.cmW)) * aLeft) +
          nuDown * aDown) -
         d * a.nodes) -
        src;
    errSum = errSum + L::Abs(r);
    const V aNew = a.nodes + (L::Set(k.omega) * r) / d;
    StoreGroup<L>(p, aNew, a.next);
    return {aNew, a.next, aRight, nu.nodes, nu.next};
}

// Weighted nodes whose reluctivity stays as it is.
template <class L>
int RelaxWeighted(const Column& c, const PassConstants& k, int j, int count,
                  typename L::V& errSum) {
    constexpr int w = L::kWidth;
    Carries<L> carries = StartCarries<L>(c, j);
    int done = 0;
    for (; done + w <= count; done += w, j += 2 * w) {
        WeightedUpdate<L>(c, k, j, carries, errSum);
    }
    return done;
}

// Iron or magnet nodes: the weighted update, then the reluctivity is moved towards the
// material curve at the local induction.
//
// Local induction, with the node's new A (T):
//     B = sqrt(dZ^2 + dR^2) / h + kInductionFloor,
//     dZ = A(i, j+1) - A(i, j),  dR = A(i+1, j) - A(i, j) + A(i, j) / i,
// the forward differences of Br = -dA/dz and Bz = (1/r) d(rA)/dr times h.
// Material law: with m the initial relative permeability and b the curve's saturation
// induction (SteelMu and SteelSaturationB for iron, MagMuRec and MagCurveK for magnets), the
// curve is the hyperbola
//     B = m p (p + b) / ((1 + m) p + b),   p = mu0 H (T),
// which rises as m p at small fields and approaches p + b (for large m) once saturated. Its
// reluctivity nu = p / B at the induction B, with x = b / B, is the positive root of
// m nu^2 - (1 + m (1 - x)) nu - x = 0:
//     nuT = (1 + m (1 - x) + sqrt(1 + 2 m (1 + x) + m^2 (1 - x)^2)) / (2 m),
// going from 1/m at B -> 0 to (1 + m)/m at B -> infinity.
// Relaxation: nu moves a step k (PassSettings::reluctivityStep) of the way to nuT,
//     nu = nu (1 + k (q - 1)),  q = nuT / nu limited to kSlowestRatio .. kFastestRatio,
// so that one visit changes nu by a bounded factor and the coupled iteration stays stable.
template <class L>
int RelaxMagnetic(const Column& c, const PassConstants& k, const CurveConstants& curve, int j,
                  int count, typename L::V& errSum) {
    using V = typename L::V;
    constexpr int w = L::kWidth;
    const V one = L::Set(1.0);
    const V radius = L::Set(c.radius);
    const V h = L::Set(k.gridStep);
    const V floorB = L::Set(kInductionFloor);
    const V m = L::Set(curve.mu);
    const V b = L::Set(curve.bSat);
    const V twoM = L::Set(curve.twoMu);
    const V mSquare = L::Set(curve.muSquare);
    const V qHigh = L::Set(kFastestRatio);
    const V qLow = L::Set(kSlowestRatio);
    const V kMu = L::Set(k.kMu);
    Carries<L> carries = StartCarries<L>(c, j);
    int done = 0;
    for (; done + w <= count; done += w, j += 2 * w) {
        const WeightedStep<L> s = WeightedUpdate<L>(c, k, j, carries, errSum);
        const V dZ = s.aNext - s.aNew;
        const V dR = (s.aRight - s.aNew) + s.aNew / radius;
        const V bLocal = L::Sqrt(dZ * dZ + dR * dR) / h + floorB;
        const V x = b / bLocal;
        const V t = one - x;
        const V target =
            ((one + m * t) + L::Sqrt((one + twoM * (one + x)) + mSquare * (t * t))) / twoM;
        V q = target / s.nu;
        q = L::Min(qHigh, q);  // above 1.5 becomes 1.5
        q = L::Max(qLow, q);   // below 0.7 becomes 0.7
        StoreGroup<L>(c.nu + j, s.nu * (one + kMu * (q - one)), s.nuNext);
    }
    return done;
}

// Nodes j, j+2, ... of one run: whole groups with the wide lanes, the rest one by one.
template <class L>
void RelaxRun(const Column& c, const PassConstants& k, const SweepInput& in, NodeKind kind, int j,
              int count, typename L::V& wideSum, double& singleSum) {
    int done = 0;
    switch (kind) {
        case NodeKind::Uniform:
            done = RelaxUniform<L>(c, k, j, count, wideSum);
            RelaxUniform<Lane1>(c, k, j + 2 * done, count - done, singleSum);
            return;
        case NodeKind::Weighted:
            done = RelaxWeighted<L>(c, k, j, count, wideSum);
            RelaxWeighted<Lane1>(c, k, j + 2 * done, count - done, singleSum);
            return;
        case NodeKind::Iron:
        case NodeKind::Magnet:
            break;
    }
    if (k.kMu == 0) {
        // nu * (1 + 0 * (q - 1)) is nu itself: only the potential moves.
        done = RelaxWeighted<L>(c, k, j, count, wideSum);
        RelaxWeighted<Lane1>(c, k, j + 2 * done, count - done, singleSum);
    } else {
        const CurveConstants& curve = kind == NodeKind::Iron ? in.iron : in.magnet;
        done = RelaxMagnetic<L>(c, k, curve, j, count, wideSum);
        RelaxMagnetic<Lane1>(c, k, curve, j + 2 * done, count - done, singleSum);
    }
    if (c.nuAxis != nullptr) {
        // The axis node takes the reluctivity of its magnetic neighbour; only that
        // neighbour reads it, and it has read it already.
        for (int n = 0; n < count; ++n) {
            c.nuAxis[j + 2 * n] = c.nu[j + 2 * n];
        }
    }
}

inline Column MakeColumn(const SweepInput& in, int i) {
    const long stride = static_cast<long>(in.n) + 1;
    Column c{};
    c.a = in.vecPot + i * stride;
    c.aLeft = c.a - stride;
    c.aRight = c.a + stride;
    c.nu = in.reluctivity + i * stride;
    c.nuAxis = i == 1 ? in.reluctivity : nullptr;
    c.nuLeft = c.nu - stride;
    c.src = in.sourceMean + i * stride;
    c.radius = i;
    c.cp = in.coefRPlus[i];
    c.cm = in.coefRMinus[i];
    c.diag = in.coefDiag[i];
    c.cpW = (i + 1) / (i + 0.5);
    c.cmW = (i - 1) / (i - 0.5);
    c.cSelf = 1 + i / (i + 0.5);
    c.cLeft = i / (i - 0.5);
    return c;
}

// The nodes of one colour (i + j even: 0, odd: 1) in columns i0 .. i1, column by column from
// the axis outwards.
template <class L>
void RelaxColumns(const SweepInput& in, const PassConstants& k, int colour, int i0, int i1,
                  typename L::V& wideSum, double& singleSum) {
    for (int i = i0; i <= i1; ++i) {
        const Column c = MakeColumn(in, i);
        for (int r = in.columnRuns[i - 1]; r < in.columnRuns[i]; ++r) {
            const NodeRun run = in.runs[r];
            const int first = run.j0 + ((i + run.j0 + colour) & 1);
            if (first > run.j1) {
                continue;
            }
            const int count = (run.j1 - first) / 2 + 1;
            RelaxRun<L>(c, k, in, run.kind, first, count, wideSum, singleSum);
        }
    }
}

// Both half-sweeps: first the nodes with i + j even, then those with i + j odd.
template <class L>
double SweepIterationWith(const SweepInput& in) {
    const PassConstants k{in.omega, in.gridStep, in.kMu};
    typename L::V wideSum = L::Set(0.0);
    double singleSum = 0;
    for (int colour = 0; colour < 2; ++colour) {
        RelaxColumns<L>(in, k, colour, 1, in.n - 1, wideSum, singleSum);
    }
    return L::Sum(wideSum) + singleSum;
}

// One colour in columns i0 .. i1: a share of a half-sweep for one thread.
template <class L>
double SweepShareWith(const SweepInput& in, int colour, int i0, int i1) {
    const PassConstants k{in.omega, in.gridStep, in.kMu};
    typename L::V wideSum = L::Set(0.0);
    double singleSum = 0;
    RelaxColumns<L>(in, k, colour, i0, i1, wideSum, singleSum);
    return L::Sum(wideSum) + singleSum;
}

}  // namespace
}  // namespace tesvid::relax
