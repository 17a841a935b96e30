// Br, Bz and |B| from the potential.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/calculation.h"
#include "solver/material_map.h"
#include "solver_test_support.h"

namespace tesvid::testing {
namespace {

class FieldEvaluation : public ::testing::Test {
  protected:
    static constexpr int kN = 50;
    FieldEvaluation() {
        CreateGridArrays(m);
        // A potential that changes along both indices, unevenly.
        for (int i = 0; i <= kN; ++i) {
            for (int j = 0; j <= kN; ++j) {
                m.arrays.VecPot(i, j) =
                    1e-6 * (0.5 * i + 0.01 * i * i + 0.2 * std::sin(0.3 * j) + 0.05 * i * j);
            }
        }
    }
    Model m = MakeModel(kN, 100);
    double A(int i, int j) const { return m.arrays.VecPot(i, j); }
};

TEST_F(FieldEvaluation, InnerNodesUseForwardDifferences) {
    EvaluateField(m);
    const double h = m.project.GridStep;
    for (int i : {1, 7, 49}) {
        for (int j : {1, 20, 49}) {
            const float br = static_cast<float>((A(i, j + 1) - A(i, j)) / h);
            const float bz = static_cast<float>(A(i, j) / (i * h) + (A(i + 1, j) - A(i, j)) / h);
            EXPECT_EQ(m.field.Br(i, j), br);
            EXPECT_EQ(m.field.Bz(i, j), bz);
            EXPECT_EQ(m.field.B(i, j),
                      static_cast<float>(std::sqrt(double{bz} * bz + double{br} * br)));
        }
    }
}

TEST_F(FieldEvaluation, EdgesAxisAndCorners) {
    EvaluateField(m);
    const double h = m.project.GridStep;
    for (int j = 1; j < kN; ++j) {
        // The axis repeats the first column, with no radial field.
        EXPECT_EQ(m.field.Br(0, j), 0);
        EXPECT_EQ(m.field.Bz(0, j), m.field.Bz(1, j));
        EXPECT_EQ(m.field.B(0, j), m.field.B(1, j));
        // The outer column differentiates backwards along the radius.
        EXPECT_EQ(m.field.Bz(kN, j),
                  static_cast<float>(A(kN, j) / (kN * h) + (A(kN, j) - A(kN - 1, j)) / h));
        EXPECT_EQ(m.field.Br(kN, j), static_cast<float>((A(kN, j + 1) - A(kN, j)) / h));
    }
    for (int i = 1; i < kN; ++i) {
        EXPECT_EQ(m.field.Br(i, 0), static_cast<float>((A(i, 1) - A(i, 0)) / h));
        EXPECT_EQ(m.field.Br(i, kN), static_cast<float>((A(i, kN) - A(i, kN - 1)) / h));
        EXPECT_EQ(m.field.Bz(i, kN),
                  static_cast<float>(A(i, kN) / (i * h) + (A(i + 1, kN) - A(i, kN)) / h));
    }
    for (int i : {0, kN}) {
        for (int j : {0, kN}) {
            EXPECT_EQ(m.field.Br(i, j), 0);
            EXPECT_EQ(m.field.Bz(i, j), 0);
            EXPECT_EQ(m.field.B(i, j), 0);
        }
    }
}

TEST_F(FieldEvaluation, RecreatesTheArraysAtTheGridSize) {
    m.field.B.Create(20);
    m.field.B(0, 0) = 5;
    EvaluateField(m);
    EXPECT_EQ(m.field.B.N(), kN);
    EXPECT_EQ(m.field.Br.N(), kN);
    EXPECT_EQ(m.field.Bz.N(), kN);
    EXPECT_EQ(m.field.B(0, 0), 0);
}

TEST_F(FieldEvaluation, PotentialOfAnotherGridGivesZeroField) {
    // The grid was changed in the options after the last calculation: no reading outside the
    // potential, the field is 0 at the new size.
    m.project.GridSize = 100;
    EvaluateField(m);
    EXPECT_EQ(m.field.B.N(), 100);
    for (float b : m.field.B.Vector()) {
        ASSERT_EQ(b, 0);
    }
    m.project.GridSize = kN;
    m.project.GridStep = 0;  // no step to differentiate over
    EvaluateField(m);
    for (float b : m.field.B.Vector()) {
        ASSERT_EQ(b, 0);
    }
}

}  // namespace
}  // namespace tesvid::testing
